#include "rules/entry_range.h"

#include "model/items.h"
#include "model/option_set.h"
#include "model/value_text.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

namespace qmx {

namespace {

struct Row {
    int16_t low;
    int16_t high;
};

// Measuring ranges of the standard controller's temperature inputs (types 0..29), raw units.
constexpr Row kStandardRanges[30] = {
    {-200, 1370},  {-2000, 4000}, {-200, 1000},   {0, 1760},     {0, 1760},     {0, 1820},
    {-200, 800},   {-2000, 4000}, {-200, 1300},   {0, 1390},     {0, 2315},     {-2000, 8500},
    {-2000, 5000}, {-200, 850},   {-200, 500},    {-320, 2500},  {-3200, 7500}, {-320, 1800},
    {0, 3200},     {0, 3200},     {0, 3300},      {-320, 1500},  {-3200, 7500}, {-320, 2300},
    {0, 2500},     {0, 4200},     {-3200, 15000}, {-3200, 9000}, {-320, 1500},  {-320, 900},
};

// The infrared variant's input types 0..3. The low ends of the Fahrenheit types are below zero here
// although the set values of the same types start at +32.0.
constexpr Row kInfraredRanges[4] = {{0, 2500}, {0, 5000}, {-320, 4820}, {-320, 9320}};
// Set-value limits of the infrared variant's input types.
constexpr Row kInfraredSetValues[4] = {{0, 2500}, {0, 5000}, {320, 4820}, {320, 9320}};

bool oneOf(int v, std::initializer_list<int> set)
{
    return std::find(set.begin(), set.end(), v) != set.end();
}

int16_t clamp16(int32_t v)
{
    return static_cast<int16_t>(std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

// The items whose entry follows the DC decimal point (item 27) while a DC input is set.
bool followsDcDecimalPoint(int item)
{
    return oneOf(item, {11, 19, 20, 23, 24, 25, 26, 31, 35, 38, 39, 43, 44, 57, 59, 60, 61});
}

// The items the infrared variant shows with one decimal: the infrared controller counts every
// temperature in tenths, so the set values, the bands and the rates in degrees carry one decimal
// there, as their labels show them.
bool infraredOneDecimal(int item)
{
    return oneOf(
        item, {11, 13, 14, 19, 20, 21, 23, 24, 28, 31, 35, 38, 39, 43, 44, 52, 54, 57, 59, 60, 61});
}

// The 50 A current transformer: online the controller's option word tells, offline the option
// set on screen.
bool fiftyAmpTransformer(const QmxData& d)
{
    if (d.OnLine)
        return (d.OptionBits() & 0x08) != 0;
    return isFiftyAmpOption(d.OptSet_HB);
}

Limits ascending(int32_t a, int32_t b)
{
    return {std::min(a, b), std::max(a, b)};
}

} // namespace

std::optional<Limits> standardInputRange(int t)
{
    if (!isTemperatureInput(t, false))
        return std::nullopt;
    return Limits{kStandardRanges[t].low, kStandardRanges[t].high};
}

Limits Input_Range(const QmxData& d, int item, Limits previous)
{
    const int t = d.ParaVal(item::kInputType);
    if (d.RDModel) {
        if (isListedInput(t, true))
            return {kInfraredRanges[t].low, kInfraredRanges[t].high};
        return {0, previous.max};
    }
    if (const auto range = standardInputRange(t))
        return *range;
    if (item == item::kScalingHigh || item == item::kScalingLow)
        return {-2000, 10000};
    return ascending(d.ParaVal(item::kScalingHigh), d.ParaVal(item::kScalingLow));
}

Limits Alarm_Range(const QmxData& d, int item, Limits previous)
{
    if (item != item::kAlarm1Value && item != item::kAlarm2Value)
        return previous;
    const Limits in = Input_Range(d, item, previous);
    const int32_t span = in.max - in.min;
    switch (d.ParaVal(item == item::kAlarm1Value ? item::kAlarm1Type : item::kAlarm2Type)) {
    case 1:
    case 2:
    case 7:
    case 8:
        return {-span, span};
    case 3:
    case 4:
    case 9:
        return {0, span};
    default:
        return in;
    }
}

std::optional<QString> entryValueText(const QmxData& d, int item, bool decFlag, int32_t v)
{
    const int t = d.ParaVal(item::kInputType);
    if (d.RDModel) {
        if (infraredOneDecimal(item))
            return formatScaled(v, 1);
        if (item == item::kEmissivity)
            return formatScaled(v, 3);
        return formatScaled(v, 0);
    }
    if (isDcInput(t, d.RDModel) && followsDcDecimalPoint(item)) {
        const int dp = d.ParaVal(item::kDecimalPoint);
        if (dp < 0 || dp > 3)
            return std::nullopt;
        return formatScaled(v, dp);
    }
    if (decFlag)
        return formatScaled(v, 1);
    return v < 0 ? formatScaled(v, 0) : QStringLiteral(" ") + formatScaled(v, 0);
}

EntryRange Set_Range(const QmxData& d, int item, Limits previous)
{
    const int t = d.ParaVal(item::kInputType);
    const bool decimalType = isOneDecimalInput(t, d.RDModel);
    const bool dcType = isDcInput(t, d.RDModel);
    const int32_t high = d.ParaVal(item::kScalingHigh), low = d.ParaVal(item::kScalingLow);

    bool dec = false;
    if (isSetValueItem(item) || item == item::kAlarm1Value || item == item::kAlarm2Value ||
        item == item::kScalingHigh || item == item::kScalingLow)
        dec = dcType || decimalType;

    Limits lim = previous;
    bool ruled = true;
    switch (item) {
    case 11:
    case 59:
    case 60:
    case 61:
        if (d.RDModel) {
            if (isListedInput(t, true))
                lim = {kInfraredSetValues[t].low, kInfraredSetValues[t].high};
        } else if (!dcType) {
            lim = {low, high};
        } else {
            lim = ascending(high, low);
        }
        break;
    case 13:
        lim.min = 0;
        // A band of 1000 degrees Celsius, twice that in Fahrenheit (tenths: at most 1999.9).
        if (dcType) {
            lim.max = 1000;
            dec = true;
        } else if (decimalType) {
            lim.max = isFahrenheitInput(t, false) ? 19999 : 10000;
            dec = true;
        } else {
            lim.max = isFahrenheitInput(t, false) ? 2000 : 1000;
        }
        break;
    case 14:
    case 28:
        lim = {0, 100};
        dec = true;
        break;
    case 15:
        lim = {0, 1000};
        break;
    case 16:
        lim = {0, 300};
        break;
    case 17:
    case 18:
        lim = {1, 120};
        break;
    case 19:
    case 20:
        lim = Alarm_Range(d, item, previous);
        break;
    case 21:
    case 54:
        lim = {0, fiftyAmpTransformer(d) ? 500 : 200};
        dec = true;
        break;
    case 23:
    case 24:
        lim = {-1000, 1000};
        dec = true;
        break;
    case item::kScalingHigh:
        lim = Input_Range(d, item, previous);
        if (d.OnLine)
            lim.min = dcType ? -2000 : low;
        break;
    case item::kScalingLow:
        lim = Input_Range(d, item, previous);
        if (d.OnLine)
            lim.max = dcType ? 10000 : high;
        break;
    case 29:
        lim = {d.ParaVal(item::kOutputLow), (d.OptionBits2() & 0x10) ? 105 : 100};
        break;
    case 30:
        lim = {(d.OptionBits2() & 0x10) ? -5 : 0, d.ParaVal(item::kOutputHigh)};
        break;
    case 31:
    case 35:
    case 38:
    case 39:
        lim = {1, 1000};
        dec = true;
        break;
    case 33:
        lim = {d.ParaVal(item::kCoolingLow), 100};
        break;
    case 34:
        lim = {0, d.ParaVal(item::kCoolingHigh)};
        break;
    case 40:
    case 41:
        lim = {0, 10000};
        break;
    case 43:
        lim = {0, 10000};
        dec = decimalType || dcType;
        break;
    case 44:
        lim = {0, 10000};
        dec = decimalType;
        break;
    case 52: {
        // 50 degrees Celsius, 100 Fahrenheit, in tenths for the one-decimal types and on the
        // infrared variant; nothing for a DC input or a type the variant lacks.
        const bool rd = d.RDModel;
        const bool tenths = rd ? isListedInput(t, true) : decimalType;
        const int32_t base = isCelsiusInput(t, rd) ? 50 : isFahrenheitInput(t, rd) ? 100 : 0;
        lim = {0, tenths ? base * 10 : base};
        dec = tenths;
        break;
    }
    case 53:
    case 65:
        lim = {0, 100};
        break;
    case 57:
        lim = {1, 1000};
        dec = isListedInput(t, d.RDModel);
        break;
    case 58:
        lim = {0, 99};
        break;
    case 66:
        lim = {200, 1000};
        break;
    default:
        ruled = false;
        break;
    }

    EntryRange r;
    r.ParaMin = clamp16(lim.min);
    r.ParaMax = clamp16(lim.max);
    r.DecFlag = dec;
    r.ruled = ruled;
    const auto lo = entryValueText(d, item, dec, r.ParaMin);
    const auto hi = entryValueText(d, item, dec, r.ParaMax);
    // A DC decimal point outside 0..3 gives no range line rather than the previous item's.
    if (lo && hi)
        r.Limit_data = *lo + QStringLiteral(" to ") + *hi;
    return r;
}

} // namespace qmx
