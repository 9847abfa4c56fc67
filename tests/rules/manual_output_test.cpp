// The manual-output step rule: where one step takes the output from the controller's present value.
#include "rules/manual_output.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct TargetCase {
    const char* what;
    int present, step, upper, lower;
    int expected;
};

void PrintTo(const TargetCase& c, std::ostream* os)
{
    *os << c.what;
}

class ManualOutputTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ManualOutputTarget, NeverFurtherThanTheStepNorAgainstIt)
{
    const TargetCase& c = GetParam();
    const int got = qmx::manualOutputTarget(int16_t(c.present), c.step, {c.upper, c.lower});
    EXPECT_EQ(got, c.expected) << c.what;
    // The property the rule exists for, whatever the case.
    EXPECT_LE(std::abs(got - c.present), std::abs(c.step)) << c.what;
    EXPECT_GE((got - c.present) * c.step, 0) << c.what << ": moved against the step";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManualOutputTarget,
    ::testing::Values(
        TargetCase{"inside the limits", 500, 10, 1000, 0, 510},
        TargetCase{"stops at the upper limit", 995, 10, 1000, 0, 1000},
        TargetCase{"lands on the lower limit", 51, -1, 1000, 50, 50},
        TargetCase{"heating/cooling reaches -100.0 %", -950, -100, 1000, -1000, -1000},
        TargetCase{"above the range, a step up does not pull it down", 32767, 100, 1000, 0, 32767},
        TargetCase{"above the range, a step down moves one step", 32767, -100, 1000, 0, 32667},
        TargetCase{"below the low limit, a step down does not jump up", 0, -1, 1000, 500, 0},
        TargetCase{"below the low limit, a step up moves one step", 0, 10, 1000, 500, 10},
        TargetCase{"the bottom of the 16-bit range does not wrap", -32768, -100, 1000, -1000,
                   -32768}));

} // namespace
