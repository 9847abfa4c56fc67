// What the controller last confirmed for each setting item, kept apart from the screen data: the
// value of every read it answered, and every value it took in a write. The screen may hold a value
// the operator entered that is still waiting to be written.
#pragma once

#include "model/qmx_data.h"

#include <cstdint>
#include <optional>

namespace qmx {

class ControllerRecord {
public:
    // The controller confirmed `value` for `item` (settings 11..68; other items are not kept).
    void confirm(int item, int16_t value)
    {
        if (values_.inBounds(item))
            values_(item) = value;
    }
    // What the controller last confirmed for `item`, if anything since the link opened.
    std::optional<int16_t> value(int item) const
    {
        return values_.inBounds(item) ? values_(item) : std::nullopt;
    }
    // A new link: nothing is known of the controller at its end yet.
    void clear() { values_.fill(std::nullopt); }

private:
    BoundedArray<std::optional<int16_t>, kFirstPara, kLastPara> values_;
};

// What the controller holds for `item` as far as the link knows: what it last confirmed; before it
// confirmed anything, the base of the edit whose write waits for the item (the screen holds the
// operator's value, which the controller does not hold yet); else the screen's value. A write
// that does not land, and an edit that is not sent, put this back; the write step, the upload
// and the special commands decide by it.
inline int16_t heldByController(const QmxData& d, const ControllerRecord& record, int item)
{
    if (const auto v = record.value(item))
        return *v;
    if (d.EditBase.inBounds(item))
        if (const auto base = d.EditBase(item))
            return *base;
    return d.ParaVal(item);
}

// The screen data with every setting as the controller holds it: what the pages would show and
// the set buttons allow without the edits that still wait to be written.
inline QmxData asControllerHolds(const QmxData& d, const ControllerRecord& record)
{
    QmxData held = d;
    held.onWriteRequested = nullptr; // a copy to judge by, never one to request writes on
    for (int item = kFirstPara; item <= kLastPara; ++item)
        held.ParaVal(item) = heldByController(d, record, item);
    return held;
}

} // namespace qmx
