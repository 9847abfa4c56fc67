#include "rules/set_refusal.h"

#include "model/items.h"

namespace qmx {

namespace {

constexpr int kLock3 = 3; // the set value lock that also locks the input type

} // namespace

bool refusedWhileAutoTuning(const QmxData& d, int item)
{
    return d.ParaVal(item::kAutoTuning) == 1 && item != item::kAutoTuning && item != item::kOutOff;
}

bool refusedUnderLock3(const QmxData& d, int item)
{
    return item == item::kInputType && d.ParaVal(item::kLockSelection) == kLock3;
}

bool editRefused(const QmxData& d, int item)
{
    return refusedWhileAutoTuning(d, item) || refusedUnderLock3(d, item);
}

} // namespace qmx
