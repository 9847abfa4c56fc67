#include "comm/scheduler.h"

namespace qmx {

void addOneShot(OneShots& pending, int mode)
{
    if (mode == 3 || mode == 5)
        pending.download = mode;
    else if (mode == 4)
        pending.upload = true;
}

Tick takeTick(int comMode, int paraNo, std::deque<int>& writes, OneShots& pending)
{
    if (!writes.empty()) {
        const int item = writes.front();
        writes.pop_front();
        return {SchedStep::Write, item, 2};
    }
    if (pending.download != 0) {
        const int mode = pending.download;
        pending.download = 0;
        return {mode == 3 ? SchedStep::Download : SchedStep::CheckAndLoad, 0, mode};
    }
    if (pending.upload) {
        pending.upload = false;
        return {SchedStep::Upload, 0, 4};
    }
    switch (comMode) {
    case 0:
        return {SchedStep::Idle, 0, 0};
    case 1:
        return {SchedStep::Monitor, 0, 1};
    case 2:
        return {SchedStep::Write, paraNo, 2};
    case 3:
        return {SchedStep::Download, 0, 3};
    case 4:
        return {SchedStep::Upload, 0, 4};
    case 5:
        return {SchedStep::CheckAndLoad, 0, 5};
    default:
        return {SchedStep::Reset, 0, 1};
    }
}

int waitingMode(const std::deque<int>& writes, const OneShots& pending, int resting)
{
    if (!writes.empty())
        return 2;
    if (pending.download != 0)
        return pending.download;
    if (pending.upload)
        return 4;
    return resting;
}

} // namespace qmx
