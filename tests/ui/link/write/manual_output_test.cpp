// The manual-output step buttons: a fresh read of the controller's output, the step, the limits,
// and the write the scheduler then makes.
#include "linked_window.h"

namespace {

struct StepCase {
    const char* name;
    int index;        // Manuval(index)
    int outputHigh;   // item 29, whole percent
    int outputLow;    // item 30
    int option1;      // 0x40: heating/cooling
    int controller;   // what the controller's output is at, tenths of a percent
    const char* sent; // the value written
};

// Parameterised tests are listed by their case names.
void PrintTo(const StepCase& c, std::ostream* os)
{
    *os << c.name;
}

class ManualOutput : public LinkedWindow, public ::testing::WithParamInterface<StepCase> {
protected:
    void SetUp() override
    {
        LinkedWindow::SetUp();
        d.OnLine = true;
    }
};

TEST_P(ManualOutput, StepsFromTheControllersValueWithinTheLimits)
{
    const StepCase& c = GetParam();
    options(c.option1);
    d.ParaVal(29) = int16_t(c.outputHigh);
    d.ParaVal(30) = int16_t(c.outputLow);
    setRegister(QStringLiteral("0039"), c.controller);
    sim->mark();

    w->Manuval_Click(c.index);
    ASSERT_EQ(d.WriteQueue, std::deque<int>{47});
    EXPECT_EQ(d.ParaBak(47), c.controller);
    runQueuedWrites();

    const QString written = QStringLiteral("50 0039 ") + QLatin1String(c.sent);
    EXPECT_EQ(wire(), (QStringList{"20 0039", written, "20 0039"}));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ManualOutput,
    ::testing::Values(
        StepCase{"PlusOneStopsAtTheUpperLimit", 0, 100, 0, 0, 995, "03E8"},
        StepCase{"PlusTenthInsideTheLimits", 1, 100, 0, 0, 500, "01F5"},
        StepCase{"PlusTenAtTheLimitStaysThere", 4, 100, 0, 0, 1000, "03E8"},
        StepCase{"MinusTenWithHeatCoolReachesMinus100", 5, 100, 0, 0x40, -950, "FC18"},
        StepCase{"MinusTenWithoutHeatCoolStopsAtTheLowLimit", 5, 100, 0, 0, 50, "0000"},
        StepCase{"MinusTenthLandingOnTheLowLimit", 2, 100, 5, 0, 51, "0032"},
        StepCase{"MinusOneFromInsideTheLimits", 3, 80, 10, 0, 400, "0186"},
        // Near the ends of the 16-bit range the step must not wrap round, nor move an output
        // outside the limits further than the step.
        StepCase{"PlusTenFromTheTopOfTheRange", 4, 100, 0, 0, 32767, "7FFF"},
        StepCase{"MinusTenFromTheBottomOfTheRange", 5, 100, 0, 0x40, -32768, "8000"},
        // An upper limit beyond 16 bits must not turn negative.
        StepCase{"HighLimitAboveSixteenBits", 0, 4000, 0, 0, 995, "03ED"}),
    [](const auto& info) { return std::string(info.param.name); });

using ManualOutputEdges = LinkedWindow;

TEST_F(ManualOutputEdges, OnlyMovesTheFocus)
{
    d.OnLine = false;
    w->Manuval_Click(0);
    EXPECT_TRUE(d.WriteQueue.empty());
    EXPECT_TRUE(wire().isEmpty());
}

// A step whose fresh read of the output failed writes nothing: the screen's last value may lie
// far from the controller's.
struct FailedRead {
    const char* name;
    QJsonObject fault; // the simulator's fault on the read of 0039
};

void PrintTo(const FailedRead& c, std::ostream* os)
{
    *os << c.name;
}

class ManualOutputFailedRead : public LinkedWindow,
                               public ::testing::WithParamInterface<FailedRead> {};

TEST_P(ManualOutputFailedRead, WritesNothingAndShowsTheCommunicationError)
{
    d.OnLine = true;
    d.ParaVal(29) = 100;
    d.ParaVal(47) = d.ParaBak(47) = 995;
    setRegister(QStringLiteral("0039"), 500);
    QJsonObject f = GetParam().fault;
    f["reg"] = "0039";
    f["count"] = 3;
    fault(f);

    w->Manuval_Click(0);
    EXPECT_TRUE(d.WriteQueue.empty());
    EXPECT_TRUE(commErrorShown());
    EXPECT_TRUE(d.ComErr);
    EXPECT_EQ(d.ParaVal(47), 995) << "the screen keeps what it had";
    EXPECT_EQ(d.ParaBak(47), 995);
    runQueuedWrites();
    EXPECT_EQ(controllerValue(QStringLiteral("0039")), 500);
}

INSTANTIATE_TEST_SUITE_P(Reads, ManualOutputFailedRead,
                         ::testing::Values(FailedRead{"Silent", {{"kind", "silence"}}},
                                           FailedRead{"Garbled",
                                                      {{"kind", "garble"}, {"how", "check"}}},
                                           FailedRead{"Refused", {{"kind", "nak"}}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
