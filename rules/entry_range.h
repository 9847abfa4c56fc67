// Entry limits of a numeric setting item and the texts the numeric entry shows: the range line,
// and the entry itself with the item's decimal point.
//
// Limits are worked out in 32 bits (a span of two extreme scaling limits does not fit 16) and
// clamped to the 16-bit range the controller stores.
#pragma once

#include "model/qmx_data.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace qmx {

struct EntryRange {
    int16_t ParaMin = 0;
    int16_t ParaMax = 0;
    bool DecFlag = false;
    // Whether `item` has a rule at all; an item without one keeps the previous limits.
    bool ruled = false;
    // The range line: lower limit, " to ", upper limit.
    QString Limit_data;
};

struct Limits {
    int32_t min = 0;
    int32_t max = 0;
};

// The measuring range of the standard controller's temperature input type `t` (0..29); nothing
// for the DC types and any other value.
std::optional<Limits> standardInputRange(int t);

// The measuring range of the current input type (item 50), for `item`. `previous` is what the
// limits were: the infrared variant keeps the upper one for an input type outside its list.
Limits Input_Range(const QmxData& d, int item, Limits previous);
// The range of alarm value 19 or 20 by its alarm type (item 36 or 37); any other item keeps
// `previous`.
Limits Alarm_Range(const QmxData& d, int item, Limits previous);

// The limits, decimal flag and range line of `item`, prepared for the entry dialog. `previous`
// holds the limits of the edit prepared before (kept by an item without a rule of its own).
EntryRange Set_Range(const QmxData& d, int item, Limits previous);

// An entry value `v` of `item` as the entry shows it: with the DC decimal point (item 27), one
// decimal when `decFlag`, three for the emissivity, else whole with a blank before a number that
// is not negative. Nothing when a DC input has a decimal point outside 0..3.
std::optional<QString> entryValueText(const QmxData& d, int item, bool decFlag, int32_t v);

} // namespace qmx
