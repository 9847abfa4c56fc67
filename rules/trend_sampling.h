// When a running trend takes its next sample. The chart's timer ticks every 200 ms and asks the
// schedule with the seconds of a clock that only moves forward (not the time of day, which jumps
// at midnight and when daylight saving ends): one sample per recording cycle, a late tick samples
// at once and the schedule runs on from that late second, and several ticks within one second
// give one sample.
#pragma once

#include <cstdint>

namespace qmx {

class SampleSchedule {
public:
    // The first sample of a run is taken at `nowSec`; the next one is due `cycle` seconds later.
    void start(int64_t nowSec, int cycle);
    // True when the tick at `nowSec` takes a sample.
    bool tick(int64_t nowSec);

    int64_t nextSec() const { return next_; }
    int cycle() const { return cycle_; }

private:
    void rearm(int64_t nowSec);

    int cycle_ = 1;
    int64_t next_ = 0;
    int64_t last_ = 0; // the second of the latest sample
};

} // namespace qmx
