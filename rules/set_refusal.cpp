#include "rules/set_refusal.h"

#include "model/items.h"

namespace qmx {

namespace {

constexpr int kLock3 = 3; // the set value lock that also locks the input type

RefusalState onScreen(const QmxData& d)
{
    return {d.ParaVal(item::kAutoTuning), d.ParaVal(item::kLockSelection)};
}

bool refusedWhileAutoTuning(const RefusalState& s, int item)
{
    return s.autoTuning == 1 && item != item::kAutoTuning && item != item::kOutOff;
}

bool refusedUnderLock3(const RefusalState& s, int item)
{
    return item == item::kInputType && s.lock == kLock3;
}

} // namespace

bool refusedWhileAutoTuning(const QmxData& d, int item)
{
    return refusedWhileAutoTuning(onScreen(d), item);
}

bool refusedUnderLock3(const QmxData& d, int item)
{
    return refusedUnderLock3(onScreen(d), item);
}

bool editRefused(const RefusalState& s, int item)
{
    return refusedWhileAutoTuning(s, item) || refusedUnderLock3(s, item);
}

bool editRefused(const QmxData& d, int item)
{
    return editRefused(onScreen(d), item);
}

} // namespace qmx
