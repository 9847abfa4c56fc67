#include "rules/manual_output.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace qmx {

namespace {

// Manuval(0..5): "+1.0", "+0.1", "-0.1", "-1.0", "+10.0", "-10.0".
constexpr int kSteps[6] = {10, 1, -1, -10, 100, -100};

} // namespace

std::optional<int> manualOutputStep(int index)
{
    if (index < 0 || index >= int(std::size(kSteps)))
        return std::nullopt;
    return kSteps[index];
}

ManualOutputLimits manualOutputLimits(int16_t outputHigh, int16_t outputLow, bool heatCool)
{
    return {outputHigh * 10, heatCool ? -1000 : outputLow * 10};
}

int16_t manualOutputTarget(int16_t present, int step, ManualOutputLimits limits)
{
    // Wide arithmetic: a value near the ends of the 16-bit range must not wrap round.
    int value = present + step;
    if (value > limits.upper)
        value = limits.upper;
    if (value <= limits.lower)
        value = limits.lower;
    // The limits may pull the value back inside; they never carry it past the step.
    value = std::clamp(value, std::min<int>(present, present + step),
                       std::max<int>(present, present + step));
    return static_cast<int16_t>(std::clamp<int>(value, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}

} // namespace qmx
