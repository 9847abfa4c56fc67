#include "rules/trend_sampling.h"

#include <algorithm>

namespace qmx {

void SampleSchedule::start(int64_t nowSec, int cycle)
{
    cycle_ = std::clamp(cycle, 1, 60);
    rearm(nowSec);
}

void SampleSchedule::rearm(int64_t nowSec)
{
    last_ = nowSec;
    next_ = nowSec + cycle_;
}

bool SampleSchedule::tick(int64_t nowSec)
{
    // A clock handed in that went backwards (it should not) would otherwise stall the run until
    // it caught up again: the schedule starts over from the present second.
    if (nowSec < last_) {
        rearm(nowSec);
        return false;
    }
    // A sample re-arms the schedule at least one second ahead, so the ticks that follow within the
    // same second find it still to come.
    if (nowSec < next_)
        return false;
    // Due now, or late: the schedule runs on from this second.
    rearm(nowSec);
    return true;
}

} // namespace qmx
