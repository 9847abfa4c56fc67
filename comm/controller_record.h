// What the controller last confirmed for each setting item, kept apart from the screen data: the
// value of every read it answered, and every value it took in a write. The screen may hold a value
// the operator entered that is still waiting to be written; a write that does not land puts back
// the value recorded here.
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

// What a write of `item` that does not land puts back: the value the controller last confirmed,
// or the value before the edit while it has confirmed none.
inline int16_t putBackValue(const QmxData& d, const ControllerRecord& record, int item)
{
    return record.value(item).value_or(d.ParaBak(item));
}

} // namespace qmx
