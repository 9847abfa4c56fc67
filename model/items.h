// The controller's items by name, and the classes of its input types.
//
// An item number is the one key of every controller value (ParaVal, MonVal, CommNoTbl): code that
// means a particular item names it here, so "the input type" reads the same everywhere. Tables
// that follow the screen row by row (the settings pages, the report, the download order) keep
// their numbers beside the rows they describe.
#pragma once

namespace qmx {

namespace item {

// Monitor values.
inline constexpr int kPv = 0;
inline constexpr int kMv1 = 1;
inline constexpr int kMv2 = 2;
inline constexpr int kSvInUse = 3;
inline constexpr int kStatusWord = 4;
inline constexpr int kHeaterCurrent1 = 5;
inline constexpr int kHeaterCurrent2 = 6;
inline constexpr int kOptionWord = 7;
inline constexpr int kOptionWord2 = 8;

// Setting parameters.
inline constexpr int kSetValue = 11;
inline constexpr int kAutoTuning = 12;
inline constexpr int kProportionalBand = 13;
inline constexpr int kCoolingBand = 14;
inline constexpr int kIntegralTime = 15;
inline constexpr int kDerivativeTime = 16;
inline constexpr int kAlarm1Value = 19;
inline constexpr int kAlarm2Value = 20;
inline constexpr int kHeaterAlarm1 = 21;
inline constexpr int kLockSelection = 22;
inline constexpr int kScalingHigh = 25;
inline constexpr int kScalingLow = 26;
inline constexpr int kDecimalPoint = 27; // of the DC inputs
inline constexpr int kOutputHigh = 29;
inline constexpr int kOutputLow = 30;
inline constexpr int kCoolingHigh = 33;
inline constexpr int kCoolingLow = 34;
inline constexpr int kAlarm1Type = 36;
inline constexpr int kAlarm2Type = 37;
inline constexpr int kSvRiseRate = 43;
inline constexpr int kSvFallRate = 44;
inline constexpr int kOutOff = 45;
inline constexpr int kAutoManual = 46;
inline constexpr int kManualOutput = 47;
inline constexpr int kInputType = 50;
inline constexpr int kAtBias = 52;
inline constexpr int kHeaterAlarm2 = 54;
inline constexpr int kPvColorRange = 57;
inline constexpr int kSetValue2 = 59;
inline constexpr int kSetValue3 = 60;
inline constexpr int kSetValue4 = 61;
inline constexpr int kContactInput = 62;
inline constexpr int kAbnormalOutput = 63; // output status when the input is abnormal
inline constexpr int kOutOffKey = 64;
inline constexpr int kEmissivity = 66; // infrared variant only
inline constexpr int kMemoryNo = 67;   // set-value memory number in use
inline constexpr int kTransferMode = 68;

} // namespace item

// The main set value or one of set values 2 to 4: all four share their limits and decimals.
constexpr bool isSetValueItem(int i)
{
    return i == item::kSetValue || (i >= item::kSetValue2 && i <= item::kSetValue4);
}

// Input types (item 50). The standard controller lists 0 to 35: the thermocouple and resistance
// types 0 to 29, each with a measuring range of its own, and the DC inputs 30 to 35, scaled by the
// scaling limits (items 25, 26) with the decimal point of item 27. The infrared variant lists 0 to
// 3, all counted in tenths: 0 and 1 in degrees Celsius, 2 and 3 in degrees Fahrenheit.
//
// A stored type outside the variant's list (from a set-data file: negative, above 35, or on the
// infrared variant anything above 3) has no measuring range of its own, so it is scaled like a DC
// input: every rule that asks "is this a DC input" gets yes. It has no range caption of its own.
// Each class takes the variant, because a number such as 5 is a thermocouple on the standard
// controller and a type the infrared variant does not have.
inline constexpr int kLastTemperatureType = 29;
inline constexpr int kLastStandardType = 35;
inline constexpr int kLastInfraredType = 3;

// A type with a measuring range of its own: the standard thermocouple and resistance types, or the
// infrared variant's four types.
constexpr bool isTemperatureInput(int t, bool infrared)
{
    return t >= 0 && t <= (infrared ? kLastInfraredType : kLastTemperatureType);
}

// Scaled by the scaling limits and item 27: the DC inputs, and any type outside the list.
constexpr bool isDcInput(int t, bool infrared)
{
    return !isTemperatureInput(t, infrared);
}

// The standard temperature types with 0.1 degree resolution, by number. On the infrared variant
// only its listed types are looked up; a type beyond its list is none of them, as it is no
// temperature type there.
constexpr bool isOneDecimalInput(int t, bool infrared)
{
    if (!isTemperatureInput(t, infrared))
        return false;
    switch (t) {
    case 1:
    case 7:
    case 11:
    case 12:
    case 16:
    case 22:
    case 26:
    case 27:
        return true;
    default:
        return false;
    }
}

// Whether the variant lists type `t` at all.
constexpr bool isListedInput(int t, bool infrared)
{
    return t >= 0 && t <= (infrared ? kLastInfraredType : kLastStandardType);
}

// The types measured in degrees Celsius or Fahrenheit; a DC input is neither.
constexpr bool isCelsiusInput(int t, bool infrared)
{
    return t >= 0 && t <= (infrared ? 1 : 14);
}
constexpr bool isFahrenheitInput(int t, bool infrared)
{
    return infrared ? t == 2 || t == 3 : t >= 15 && t <= kLastTemperatureType;
}

} // namespace qmx
