// The manual-output step buttons as a plain rule: where one step takes the output, given what the
// controller holds now.
#pragma once

#include <cstdint>
#include <optional>

namespace qmx {

// Step of Manuval(index) in tenths of a percent, or nullopt for an index that names no button.
std::optional<int> manualOutputStep(int index);

// The output limits in tenths of a percent: the upper one from item 29 (whole percent), the lower
// one -100.0 % with heating/cooling, else from item 30.
struct ManualOutputLimits {
    int upper;
    int lower;
};
ManualOutputLimits manualOutputLimits(int16_t outputHigh, int16_t outputLow, bool heatCool);

// The value one step writes: the controller's present value moved by `step` and held inside the
// limits, but never moved further than the step itself nor against its direction. An output that
// already lies outside the limits therefore moves at most one step back towards them and never
// jumps to the far limit.
int16_t manualOutputTarget(int16_t present, int step, ManualOutputLimits limits);

} // namespace qmx
