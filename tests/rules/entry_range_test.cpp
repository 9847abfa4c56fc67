// Entry limits and range lines, item by item, in the standard, DC and infrared variants. The
// expected texts are written out by hand from the number masks ("#####0" with a leading blank
// for a whole number that is not negative, "###0.0", "##0.00", "#0.000"), not taken from the code.
#include "rules/entry_range.h"

#include "model/qmx_data.h"
#include "register_table.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qmx;

namespace {

struct Case {
    const char* name;
    int item;
    std::function<void(QmxData&)> setup;
    int min;
    int max;
    bool dec;
    const char* text;
};

QmxData standard(int inputType)
{
    QmxData d;
    d.Set_Defaults();
    d.ParaVal(50) = int16_t(inputType);
    return d;
}

void dc(QmxData& d, int dp, int high, int low)
{
    d.ParaVal(50) = 30;
    d.ParaVal(27) = int16_t(dp);
    d.ParaVal(25) = int16_t(high);
    d.ParaVal(26) = int16_t(low);
}

auto none = [](QmxData&) {};

// Standard controller, type 0 (K, whole degrees) unless the case changes it.
const Case kStandard[] = {
    {"SetValueByScaling", 11,
     [](QmxData& d) {
         d.ParaVal(25) = 1370;
         d.ParaVal(26) = -200;
     },
     -200, 1370, false, "-200 to  1370"},
    {"SetValueOneDecimalType", 11,
     [](QmxData& d) {
         d.ParaVal(50) = 1;
         d.ParaVal(25) = 4000;
         d.ParaVal(26) = -2000;
     },
     -2000, 4000, true, "-200.0 to 400.0"},
    {"SetValue2ByScaling", 60,
     [](QmxData& d) {
         d.ParaVal(25) = 800;
         d.ParaVal(26) = 0;
     },
     0, 800, false, " 0 to  800"},
    {"ProportionalBand", 13, none, 0, 1000, false, " 0 to  1000"},
    {"ProportionalBandTenths", 13, [](QmxData& d) { d.ParaVal(50) = 1; }, 0, 10000, true,
     "0.0 to 1000.0"},
    {"ProportionalBandFahrenheitTenths", 13, [](QmxData& d) { d.ParaVal(50) = 16; }, 0, 19999, true,
     "0.0 to 1999.9"},
    {"ProportionalBandFahrenheit", 13, [](QmxData& d) { d.ParaVal(50) = 15; }, 0, 2000, false,
     " 0 to  2000"},
    {"ProportionalBandDc", 13, [](QmxData& d) { dc(d, 0, 10000, -2000); }, 0, 1000, true,
     "0.0 to 100.0"},
    {"CoolingBand", 14, none, 0, 100, true, "0.0 to 10.0"},
    {"IntegralTime", 15, none, 0, 1000, false, " 0 to  1000"},
    {"DerivativeTime", 16, none, 0, 300, false, " 0 to  300"},
    {"ProportionalCycle", 17, none, 1, 120, false, " 1 to  120"},
    {"CoolingCycle", 18, none, 1, 120, false, " 1 to  120"},
    {"AlarmHighLimit", 19, [](QmxData& d) { d.ParaVal(36) = 1; }, -1570, 1570, false,
     "-1570 to  1570"},
    {"AlarmLowLimitWithStandby", 19, [](QmxData& d) { d.ParaVal(36) = 8; }, -1570, 1570, false,
     "-1570 to  1570"},
    {"AlarmBand", 19, [](QmxData& d) { d.ParaVal(36) = 3; }, 0, 1570, false, " 0 to  1570"},
    {"AlarmProcess", 19, [](QmxData& d) { d.ParaVal(36) = 5; }, -200, 1370, false, "-200 to  1370"},
    {"Alarm2FollowsItsOwnType", 20,
     [](QmxData& d) {
         d.ParaVal(36) = 1;
         d.ParaVal(37) = 9;
     },
     0, 1570, false, " 0 to  1570"},
    {"Alarm2OutOfListType", 20, [](QmxData& d) { d.ParaVal(37) = 77; }, -200, 1370, false,
     "-200 to  1370"},
    {"HeaterAlarm20A", 21, [](QmxData& d) { d.OptSet_HB = 1; }, 0, 200, true, "0.0 to 20.0"},
    {"HeaterAlarm50A", 21, [](QmxData& d) { d.OptSet_HB = 2; }, 0, 500, true, "0.0 to 50.0"},
    {"HeaterAlarm2ThreePhase50A", 54, [](QmxData& d) { d.OptSet_HB = 4; }, 0, 500, true,
     "0.0 to 50.0"},
    {"HeaterAlarmOnlineByOptionWord", 21,
     [](QmxData& d) {
         d.OnLine = true;
         d.OptSet_HB = 1;
         d.MonVal(7) = 0x08;
     },
     0, 500, true, "0.0 to 50.0"},
    {"HeaterAlarmOnlineWithout50A", 21,
     [](QmxData& d) {
         d.OnLine = true;
         d.OptSet_HB = 2;
         d.MonVal(7) = 0x40;
     },
     0, 200, true, "0.0 to 20.0"},
    {"SensorCorrection", 23, none, -1000, 1000, true, "-100.0 to 100.0"},
    {"DeadBand", 24, none, -1000, 1000, true, "-100.0 to 100.0"},
    {"ScalingHighOffline", 25, [](QmxData& d) { d.ParaVal(26) = -100; }, -200, 1370, false,
     "-200 to  1370"},
    {"ScalingHighOnline", 25,
     [](QmxData& d) {
         d.OnLine = true;
         d.ParaVal(26) = -100;
     },
     -100, 1370, false, "-100 to  1370"},
    {"ScalingLowOnline", 26,
     [](QmxData& d) {
         d.OnLine = true;
         d.ParaVal(25) = 1000;
     },
     -200, 1000, false, "-200 to  1000"},
    {"FilterTime", 28, none, 0, 100, true, "0.0 to 10.0"},
    {"OutputHigh", 29, [](QmxData& d) { d.ParaVal(30) = 5; }, 5, 100, false, " 5 to  100"},
    {"OutputHighDcCurrent", 29, [](QmxData& d) { d.MonVal(8) = 0x10; }, 0, 105, false,
     " 0 to  105"},
    {"OutputLowDcCurrent", 30,
     [](QmxData& d) {
         d.MonVal(8) = 0x10;
         d.ParaVal(29) = 105;
     },
     -5, 105, false, "-5 to  105"},
    {"OutputLow", 30, [](QmxData& d) { d.ParaVal(29) = 90; }, 0, 90, false, " 0 to  90"},
    {"Hysteresis", 31, none, 1, 1000, true, "0.1 to 100.0"},
    {"CoolingHysteresis", 35, none, 1, 1000, true, "0.1 to 100.0"},
    {"AlarmHysteresis", 38, none, 1, 1000, true, "0.1 to 100.0"},
    {"CoolingHigh", 33, [](QmxData& d) { d.ParaVal(34) = 20; }, 20, 100, false, " 20 to  100"},
    {"CoolingLow", 34, [](QmxData& d) { d.ParaVal(33) = 80; }, 0, 80, false, " 0 to  80"},
    {"AlarmDelay", 41, none, 0, 10000, false, " 0 to  10000"},
    {"RiseRate", 43, none, 0, 10000, false, " 0 to  10000"},
    {"RiseRateTenths", 43, [](QmxData& d) { d.ParaVal(50) = 11; }, 0, 10000, true, "0.0 to 1000.0"},
    {"FallRateTenths", 44, [](QmxData& d) { d.ParaVal(50) = 27; }, 0, 10000, true, "0.0 to 1000.0"},
    {"AtBiasCelsius", 52, none, 0, 50, false, " 0 to  50"},
    {"AtBiasFahrenheit", 52, [](QmxData& d) { d.ParaVal(50) = 17; }, 0, 100, false, " 0 to  100"},
    {"AtBiasCelsiusTenths", 52, [](QmxData& d) { d.ParaVal(50) = 7; }, 0, 500, true, "0.0 to 50.0"},
    {"AtBiasFahrenheitTenths", 52, [](QmxData& d) { d.ParaVal(50) = 22; }, 0, 1000, true,
     "0.0 to 100.0"},
    {"AtBiasDcIsNone", 52, [](QmxData& d) { dc(d, 1, 10000, -2000); }, 0, 0, false, " 0 to  0"},
    {"AntiResetWindup", 53, none, 0, 100, false, " 0 to  100"},
    {"PvColourRange", 57, none, 1, 1000, true, "0.1 to 100.0"},
    {"BacklightTime", 58, none, 0, 99, false, " 0 to  99"},
    {"RateLimit", 65, none, 0, 100, false, " 0 to  100"},
};

// DC inputs: the items of the list follow the decimal point of item 27.
const Case kDc[] = {
    {"SetValueTwoDecimals", 11, [](QmxData& d) { dc(d, 2, 10000, -2000); }, -2000, 10000, true,
     "-20.00 to 100.00"},
    {"SetValueAscending", 11, [](QmxData& d) { dc(d, 2, -500, 3000); }, -500, 3000, true,
     "-5.00 to 30.00"},
    {"SetValue4NoDecimals", 61, [](QmxData& d) { dc(d, 0, 5000, 0); }, 0, 5000, true, "0 to 5000"},
    {"SetValueThreeDecimals", 59, [](QmxData& d) { dc(d, 3, 1000, -5); }, -5, 1000, true,
     "-0.005 to 1.000"},
    {"ScalingHighOffline", 25, [](QmxData& d) { dc(d, 1, 500, 100); }, -2000, 10000, true,
     "-200.0 to 1000.0"},
    {"ScalingHighOnline", 25,
     [](QmxData& d) {
         dc(d, 1, 500, 100);
         d.OnLine = true;
     },
     -2000, 10000, true, "-200.0 to 1000.0"},
    {"AlarmSpanOfScaling", 19,
     [](QmxData& d) {
         dc(d, 0, 10000, -2000);
         d.ParaVal(36) = 2;
     },
     -12000, 12000, true, "-12000 to 12000"},
    {"AlarmSpanClampedTo16Bits", 20,
     [](QmxData& d) {
         dc(d, 0, 32767, -32768);
         d.ParaVal(37) = 1;
     },
     -32768, 32767, true, "-32768 to 32767"},
    {"AlarmBandClampedTo16Bits", 19,
     [](QmxData& d) {
         dc(d, 1, 30000, -30000);
         d.ParaVal(36) = 4;
     },
     0, 32767, true, "0.0 to 3276.7"},
    {"FallRateFollowsDecimalPoint", 44, [](QmxData& d) { dc(d, 2, 10000, -2000); }, 0, 10000, false,
     "0.00 to 100.00"},
    {"PvColourRange", 57, [](QmxData& d) { dc(d, 0, 10000, -2000); }, 1, 1000, true, "1 to 1000"},
    {"DecimalPointOutOfRangeClearsTheText", 11, [](QmxData& d) { dc(d, 5, 10000, -2000); }, -2000,
     10000, true, ""},
    {"ItemOffTheListIgnoresDecimalPoint", 40, [](QmxData& d) { dc(d, 5, 10000, -2000); }, 0, 10000,
     false, " 0 to  10000"},
};

void infrared(QmxData& d, int inputType)
{
    d.RDModel = true;
    d.ParaVal(50) = int16_t(inputType);
}

const Case kInfrared[] = {
    {"SetValueCelsius", 11, [](QmxData& d) { infrared(d, 0); }, 0, 2500, false, "0.0 to 250.0"},
    {"SetValueFahrenheit", 11, [](QmxData& d) { infrared(d, 2); }, 320, 4820, false,
     "32.0 to 482.0"},
    {"SetValue3WholeNumbers", 61, [](QmxData& d) { infrared(d, 3); }, 320, 9320, false,
     "320 to 9320"},
    {"IntegralTimeNoBlanks", 15, [](QmxData& d) { infrared(d, 0); }, 0, 1000, false, "0 to 1000"},
    {"Emissivity", 66, [](QmxData& d) { infrared(d, 1); }, 200, 1000, false, "0.200 to 1.000"},
    {"BacklightTime", 58, [](QmxData& d) { infrared(d, 1); }, 0, 99, false, "0 to 99"},
    {"AlarmProcessUsesInputRange", 19,
     [](QmxData& d) {
         infrared(d, 2);
         d.ParaVal(36) = 6;
     },
     -320, 4820, false, "-32.0 to 482.0"},
    {"HeaterAlarm", 21,
     [](QmxData& d) {
         infrared(d, 0);
         d.OptSet_HB = 1;
     },
     0, 200, true, "0.0 to 20.0"},
};

class RangeTable : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(RangeTable, LimitsAndText)
{
    const Case& c = GetParam();
    QmxData d = standard(0);
    c.setup(d);
    const EntryRange r = Set_Range(d, c.item, Limits{-7, 7});
    EXPECT_EQ(r.ParaMin, c.min);
    EXPECT_EQ(r.ParaMax, c.max);
    EXPECT_EQ(r.DecFlag, c.dec);
    EXPECT_EQ(r.Limit_data.toStdString(), c.text);
}

static std::string caseName(const ::testing::TestParamInfo<Case>& i)
{
    return i.param.name;
}

INSTANTIATE_TEST_SUITE_P(Standard, RangeTable, ::testing::ValuesIn(kStandard), caseName);
INSTANTIATE_TEST_SUITE_P(Dc, RangeTable, ::testing::ValuesIn(kDc), caseName);
INSTANTIATE_TEST_SUITE_P(Infrared, RangeTable, ::testing::ValuesIn(kInfrared), caseName);

// The scaling limits of a temperature input reach exactly the measuring range the controller
// simulator gives that input type, and its tenths types are the one-decimal entries.
TEST(EntryRange, ScalingLimitsFollowTheControllersInputRanges)
{
    for (int t = 0; t <= 29; ++t) {
        const auto range = qmxsim::inputRange(t, false);
        ASSERT_TRUE(range) << t;
        QmxData d = standard(t);
        for (int item : {25, 26}) {
            const EntryRange r = Set_Range(d, item, Limits{});
            EXPECT_EQ(r.ParaMin, range->low) << t;
            EXPECT_EQ(r.ParaMax, range->high) << t;
            EXPECT_EQ(r.DecFlag, range->scale == 10) << t;
        }
    }
}

// The infrared set values span what the simulated infrared controller measures.
TEST(EntryRange, InfraredSetValuesFollowTheControllersInputRanges)
{
    for (int t = 0; t <= 3; ++t) {
        const auto range = qmxsim::inputRange(t, true);
        ASSERT_TRUE(range) << t;
        QmxData d = standard(0);
        infrared(d, t);
        const EntryRange r = Set_Range(d, 11, Limits{});
        EXPECT_EQ(r.ParaMin, range->low) << t;
        EXPECT_EQ(r.ParaMax, range->high) << t;
    }
}

TEST(EntryRange, InfraredInputRangeHasNegativeFahrenheitLowEnds)
{
    QmxData d = standard(0);
    infrared(d, 2);
    const Limits l = Input_Range(d, 25, Limits{});
    EXPECT_EQ(l.min, -320);
    EXPECT_EQ(l.max, 4820);
}

TEST(EntryRange, AnItemWithoutARuleKeepsThePreviousLimits)
{
    QmxData d = standard(1);
    for (int item : {12, 22, 47, 50, 64}) {
        const EntryRange r = Set_Range(d, item, Limits{3, 9});
        EXPECT_EQ(r.ParaMin, 3) << item;
        EXPECT_EQ(r.ParaMax, 9) << item;
        EXPECT_FALSE(r.DecFlag) << item;
    }
    // The infrared set values outside the four input types keep them too.
    infrared(d, 7);
    const EntryRange r = Set_Range(d, 11, Limits{3, 9});
    EXPECT_EQ(r.ParaMin, 3);
    EXPECT_EQ(r.ParaMax, 9);
}

TEST(EntryRange, InconsistentNeighboursLeaveNoValueInRange)
{
    // Scaling low above scaling high with a thermocouple: no set value passes.
    QmxData d = standard(0);
    d.ParaVal(25) = 100;
    d.ParaVal(26) = 500;
    const EntryRange r = Set_Range(d, 11, Limits{});
    EXPECT_GT(r.ParaMin, r.ParaMax);
}
