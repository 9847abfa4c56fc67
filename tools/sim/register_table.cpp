#include "register_table.h"

#include <iterator>

namespace qmxsim {

namespace {
constexpr std::int16_t kLo = -32768;
constexpr std::int16_t kHi = 32767;

// Register, item, factory value, accepted range, infrared only. Numeric settings accept any
// value; the selections and the output limits are range-checked like the real front panel.
const std::vector<ParameterInfo> kTable = {
    {0x0001, 11, 0, kLo, kHi, false},    {0x0003, 12, 0, 0, 1, false},
    {0x0004, 13, 10, kLo, kHi, false},   {0x0005, 14, 10, kLo, kHi, false},
    {0x0006, 15, 200, kLo, kHi, false},  {0x0007, 16, 50, kLo, kHi, false},
    {0x0008, 17, 30, kLo, kHi, false},   {0x0009, 18, 30, kLo, kHi, false},
    {0x000B, 19, 0, kLo, kHi, false},    {0x000C, 20, 0, kLo, kHi, false},
    {0x000F, 21, 0, kLo, kHi, false},    {0x0012, 22, 0, 0, 3, false},
    {0x0015, 23, 0, kLo, kHi, false},    {0x0016, 24, 0, kLo, kHi, false},
    {0x0018, 25, 1370, kLo, kHi, false}, {0x0019, 26, -200, kLo, kHi, false},
    {0x001A, 27, 0, 0, 3, false},        {0x001B, 28, 0, kLo, kHi, false},
    {0x001C, 29, 100, 0, 100, false},    {0x001D, 30, 0, 0, 100, false},
    {0x001E, 31, 10, kLo, kHi, false},   {0x001F, 32, 0, 0, 2, false},
    {0x0020, 33, 100, 0, 100, false},    {0x0021, 34, 0, 0, 100, false},
    {0x0022, 35, 10, kLo, kHi, false},   {0x0023, 36, 0, 0, 9, false},
    {0x0024, 37, 0, 0, 9, false},        {0x0025, 38, 10, kLo, kHi, false},
    {0x0026, 39, 10, kLo, kHi, false},   {0x0029, 40, 0, kLo, kHi, false},
    {0x002A, 41, 0, kLo, kHi, false},    {0x0032, 42, 0, 0, 3, false},
    {0x0033, 43, 0, kLo, kHi, false},    {0x0034, 44, 0, kLo, kHi, false},
    {0x0037, 45, 0, 0, 1, false},        {0x0038, 46, 0, 0, 1, false},
    {0x0039, 47, 0, -1000, 1000, false}, {0x0040, 48, 0, 0, 1, false},
    {0x0041, 49, 0, 0, 1, false},        {0x0044, 50, 0, 0, 35, false},
    {0x0045, 51, 0, 0, 1, false},        {0x0047, 52, 20, kLo, kHi, false},
    {0x0048, 53, 50, kLo, kHi, false},   {0x0049, 54, 0, kLo, kHi, false},
    {0x004A, 65, 0, kLo, kHi, false},    {0x0050, 55, 0, 0, 6, false},
    {0x0051, 56, 0, 0, 6, false},        {0x0052, 57, 50, kLo, kHi, false},
    {0x0053, 58, 0, kLo, kHi, false},    {0x0054, 66, 950, 0, 1000, true},
};

// Thermocouple and resistance inputs 0..29 in raw units; types with one decimal count tenths.
struct RangeRow {
    std::int16_t low;
    std::int16_t high;
    int scale;
};
const RangeRow kStandardRanges[] = {
    {-200, 1370, 1}, {-2000, 4000, 10},  {-200, 1000, 1},   {0, 1760, 1},    {0, 1760, 1},
    {0, 1820, 1},    {-200, 800, 1},     {-2000, 4000, 10}, {-200, 1300, 1}, {0, 1390, 1},
    {0, 2315, 1},    {-2000, 8500, 10},  {-2000, 5000, 10}, {-200, 850, 1},  {-200, 500, 1},
    {-320, 2500, 1}, {-3200, 7500, 10},  {-320, 1800, 1},   {0, 3200, 1},    {0, 3200, 1},
    {0, 3300, 1},    {-320, 1500, 1},    {-3200, 7500, 10}, {-320, 2300, 1}, {0, 2500, 1},
    {0, 4200, 1},    {-3200, 15000, 10}, {-3200, 9000, 10}, {-320, 1500, 1}, {-320, 900, 1},
};
const RangeRow kInfraredRanges[] = {{0, 2500, 10}, {0, 5000, 10}, {320, 4820, 10}, {320, 9320, 10}};
constexpr int kDcFirst = 30;
constexpr int kDcLast = 35;
} // namespace

const std::vector<ParameterInfo>& parameterTable()
{
    return kTable;
}

const ParameterInfo* findParameter(std::uint16_t reg)
{
    for (const ParameterInfo& p : kTable)
        if (p.reg == reg)
            return &p;
    return nullptr;
}

int inputTypeCount(bool infrared)
{
    return infrared ? static_cast<int>(std::size(kInfraredRanges)) : kDcLast + 1;
}

std::optional<InputRange> inputRange(int inputType, bool infrared)
{
    if (inputType < 0 || inputType >= inputTypeCount(infrared))
        return std::nullopt;
    if (infrared) {
        const RangeRow& r = kInfraredRanges[inputType];
        return InputRange{r.low, r.high, r.scale};
    }
    if (inputType >= kDcFirst)
        return InputRange{-2000, 10000, 1}; // the user's scaling decides; this is the span
    const RangeRow& r = kStandardRanges[inputType];
    return InputRange{r.low, r.high, r.scale};
}

} // namespace qmxsim
