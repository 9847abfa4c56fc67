// Entry limits and range lines. The limits that follow an input type come from the controller
// simulator's measuring ranges and the input type's own caption; the rest are rules between items
// (alarm type, scaling, option words, the DC decimal point), whose expectations are worked out by
// hand from the neighbours' values. Range texts are written from the number masks ("#####0" with
// a leading blank for a whole number that is not negative, "###0.0", "##0.00", "#0.000").
#include "rules/entry_range.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "model/value_text.h"
#include "register_table.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <utility>
#include <vector>

using namespace qmx;

namespace {

// Keys below 0 set something other than ParaVal: online, the infrared model, the heater-alarm
// option on screen, the controller's option words.
constexpr int kOnline = -1, kRD = -2, kHB = -3, kWord = -7, kWord2 = -8;

QmxData make(const std::vector<std::pair<int, int>>& set)
{
    QmxData d;
    d.Set_Defaults(); // input type 0: K, -200 to 1370
    for (const auto& [key, v] : set) {
        switch (key) {
        case kOnline:
            d.OnLine = v != 0;
            break;
        case kRD:
            d.RDModel = v != 0;
            break;
        case kHB:
            d.OptSet_HB = int16_t(v);
            break;
        case kWord:
            d.MonVal(7) = int16_t(v);
            break;
        case kWord2:
            d.MonVal(8) = int16_t(v);
            break;
        default:
            d.ParaVal(key) = int16_t(v);
            break;
        }
    }
    return d;
}

struct Case {
    const char* name;
    int item;
    std::vector<std::pair<int, int>> set;
    int min, max;
    bool dec;
    const char* text;
};

// A DC input (type 30) with decimal point `dp` and scaling limits `high`, `low`.
std::vector<std::pair<int, int>> dc(int dp, int high, int low)
{
    return {{50, 30}, {27, dp}, {25, high}, {26, low}};
}
template <typename... More>
std::vector<std::pair<int, int>> dc(int dp, int high, int low, More... more)
{
    auto v = dc(dp, high, low);
    v.insert(v.end(), {more...});
    return v;
}

const Case kCases[] = {
    // Set values follow the scaling limits, in either order for a DC input.
    {"SetValueByScaling", 11, {{25, 800}, {26, -100}}, -100, 800, false, "-100 to  800"},
    {"SvTenths", 11, {{50, 1}, {25, 4000}, {26, -2000}}, -2000, 4000, true, "-200.0 to 400.0"},
    {"DcSetValueAscending", 60, dc(2, -500, 3000), -500, 3000, true, "-5.00 to 30.00"},
    {"DcThreeDecimals", 59, dc(3, 1000, -5), -5, 1000, true, "-0.005 to 1.000"},
    {"DcNoDecimals", 61, dc(0, 5000, 0), 0, 5000, true, "0 to 5000"},
    {"DcDecimalPointOutsideListClearsText", 11, dc(5, 10000, -2000), -2000, 10000, true, ""},
    {"DcItemOffTheListIgnoresDecimalPoint", 40, dc(5, 10000, -2000), 0, 10000, false,
     " 0 to  10000"},
    {"DcFallRateFollowsDecimalPoint", 44, dc(2, 10000, -2000), 0, 10000, false, "0.00 to 100.00"},
    {"DcProportionalBand", 13, dc(0, 10000, -2000), 0, 1000, true, "0.0 to 100.0"},
    {"DcAtBiasIsNone", 52, dc(1, 10000, -2000), 0, 0, false, " 0 to  0"},
    // Alarm values by alarm type: deviation +-span, band 0..span, process the input range.
    {"AlarmDeviation", 19, {{36, 1}}, -1570, 1570, false, "-1570 to  1570"},
    {"AlarmDeviationWithStandby", 19, {{36, 8}}, -1570, 1570, false, "-1570 to  1570"},
    {"Alarm2FollowsItsOwnType", 20, {{36, 1}, {37, 9}}, 0, 1570, false, " 0 to  1570"},
    {"AlarmProcess", 19, {{36, 5}}, -200, 1370, false, "-200 to  1370"},
    {"AlarmTypeOutOfList", 20, {{37, 77}}, -200, 1370, false, "-200 to  1370"},
    {"DcAlarmSpan", 19, dc(0, 10000, -2000, std::pair{36, 2}), -12000, 12000, true,
     "-12000 to 12000"},
    {"DcAlarmSpanClampedTo16Bits", 20, dc(0, 32767, -32768, std::pair{37, 1}), -32768, 32767, true,
     "-32768 to 32767"},
    {"DcAlarmBandClampedTo16Bits", 19, dc(1, 30000, -30000, std::pair{36, 4}), 0, 32767, true,
     "0.0 to 3276.7"},
    // Heater alarms: 50 A by the option set offline, by the controller's option word online.
    {"HeaterAlarm20A", 21, {{kHB, 1}}, 0, 200, true, "0.0 to 20.0"},
    {"HeaterAlarm50A", 21, {{kHB, 2}}, 0, 500, true, "0.0 to 50.0"},
    {"HeaterAlarm2ThreePhase50A", 54, {{kHB, 4}}, 0, 500, true, "0.0 to 50.0"},
    {"HeaterOnline50A", 21, {{kOnline, 1}, {kHB, 1}, {kWord, 0x08}}, 0, 500, true, "0.0 to 50.0"},
    {"HeaterOnline20A", 21, {{kOnline, 1}, {kHB, 2}, {kWord, 0x40}}, 0, 200, true, "0.0 to 20.0"},
    // Scaling limits: the input range offline; online each stops at the other.
    {"ScalingHighOffline", 25, {{26, -100}}, -200, 1370, false, "-200 to  1370"},
    {"ScalingHighOnline", 25, {{kOnline, 1}, {26, -100}}, -100, 1370, false, "-100 to  1370"},
    {"ScalingLowOnline", 26, {{kOnline, 1}, {25, 1000}}, -200, 1000, false, "-200 to  1000"},
    {"DcScalingHighOnline", 25, dc(1, 500, 100, std::pair{kOnline, 1}), -2000, 10000, true,
     "-200.0 to 1000.0"},
    // Output and cooling limits stop at each other; a DC current output reaches -5..105.
    {"OutputHigh", 29, {{30, 5}}, 5, 100, false, " 5 to  100"},
    {"OutputHighDcCurrent", 29, {{kWord2, 0x10}}, 0, 105, false, " 0 to  105"},
    {"OutputLowDcCurrent", 30, {{kWord2, 0x10}, {29, 105}}, -5, 105, false, "-5 to  105"},
    {"OutputLow", 30, {{29, 90}}, 0, 90, false, " 0 to  90"},
    {"CoolingHigh", 33, {{34, 20}}, 20, 100, false, " 20 to  100"},
    {"CoolingLow", 34, {{33, 80}}, 0, 80, false, " 0 to  80"},
    // The masks.
    {"ProportionalCycle", 17, {}, 1, 120, false, " 1 to  120"},
    {"CoolingBandTenths", 14, {}, 0, 100, true, "0.0 to 10.0"},
    {"InfraredWholeHasNoBlank", 15, {{kRD, 1}}, 0, 1000, false, "0 to 1000"},
    {"InfraredEmissivity", 66, {{kRD, 1}, {50, 1}}, 200, 1000, false, "0.200 to 1.000"},
    {"InfraredSetValueF", 11, {{kRD, 1}, {50, 2}}, 320, 4820, false, "32.0 to 482.0"},
    // An infrared input type outside its four keeps the limits prepared before (here -7..7).
    {"InfraredTypeOffList", 11, {{kRD, 1}, {50, 7}}, -7, 7, true, "-0.7 to 0.7"},
    {"InfraredAlarmProcess", 19, {{kRD, 1}, {50, 2}, {36, 6}}, -320, 4820, false, "-32.0 to 482.0"},
};

class RangeTable : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(RangeTable, LimitsAndText)
{
    const Case& c = GetParam();
    const EntryRange r = Set_Range(make(c.set), c.item, Limits{-7, 7});
    EXPECT_TRUE(r.ruled);
    EXPECT_EQ(r.ParaMin, c.min);
    EXPECT_EQ(r.ParaMax, c.max);
    EXPECT_EQ(r.DecFlag, c.dec);
    EXPECT_EQ(r.Limit_data.toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Items, RangeTable, ::testing::ValuesIn(kCases),
                         [](const auto& i) { return std::string(i.param.name); });

// Per temperature input: the scaling limits are the range the simulator measures, its tenths types
// are the one-decimal entries, and the bands that count in degrees count 1000 (P) or 50 (AT bias)
// Celsius degrees, twice that in Fahrenheit (as the type's caption says), in the type's units.
TEST(EntryRange, TemperatureInputsFollowTheControllersRanges)
{
    setUiLanguage(Language::English);
    for (int t = 0; t <= 29; ++t) {
        const auto range = qmxsim::inputRange(t, false);
        ASSERT_TRUE(range) << t;
        const bool tenths = range->scale == 10;
        const int perDegree =
            (LoadResString(750 + t).contains(QLatin1String("deg.F")) ? 2 : 1) * (tenths ? 10 : 1);
        const QmxData d = make({{50, t}});
        for (int item : {25, 26}) {
            const EntryRange r = Set_Range(d, item, Limits{});
            EXPECT_EQ(r.ParaMin, range->low) << t;
            EXPECT_EQ(r.ParaMax, range->high) << t;
            EXPECT_EQ(r.DecFlag, tenths) << t;
        }
        for (int item : {11, 43, 44})
            EXPECT_EQ(Set_Range(d, item, Limits{}).DecFlag, tenths) << t << "/" << item;
        const EntryRange p = Set_Range(d, 13, Limits{});
        EXPECT_EQ(p.ParaMax, std::min(1000 * perDegree, 19999)) << t;
        EXPECT_EQ(p.DecFlag, tenths) << t;
        EXPECT_EQ(Set_Range(d, 52, Limits{}).ParaMax, 50 * perDegree) << t;
    }
    // The infrared set values span what the simulated infrared controller measures.
    for (int t = 0; t < qmxsim::inputTypeCount(true); ++t) {
        const auto range = qmxsim::inputRange(t, true);
        const EntryRange r = Set_Range(make({{kRD, 1}, {50, t}}), 11, Limits{});
        EXPECT_EQ(r.ParaMin, range->low) << t;
        EXPECT_EQ(r.ParaMax, range->high) << t;
    }
}

// The infrared controller counts every temperature in tenths: each numeric item's entry shows the
// decimals its label shows, and the AT bias spans 50 Celsius or 100 Fahrenheit degrees (as the
// type's caption says), in tenths.
TEST(EntryRange, InfraredEntriesCountAsTheirLabelsDo)
{
    setUiLanguage(Language::English);
    auto decimals = [](const QString& text) {
        const qsizetype point = text.indexOf(u'.');
        return point < 0 ? 0 : int(text.size() - point - 1);
    };
    for (int t = 0; t < qmxsim::inputTypeCount(true); ++t) {
        const auto range = qmxsim::inputRange(t, true);
        const int perDegree =
            (LoadResString(797 + t).contains(QLatin1String("deg.F")) ? 2 : 1) * range->scale;
        QmxData d = make({{kRD, 1}, {50, t}, {36, 1}, {37, 1}});
        EXPECT_EQ(Set_Range(d, 52, Limits{}).ParaMax, 50 * perDegree) << t;
        for (int item : {11, 13, 14, 19, 20, 21, 23, 24, 28, 31, 35,
                         38, 39, 43, 44, 52, 54, 57, 59, 60, 61, 66}) {
            const EntryRange r = Set_Range(d, item, Limits{});
            d.ParaVal(item) = r.ParaMax;
            const int shown = decimals(Para_Text(d, item));
            for (const QString& limit : r.Limit_data.split(QStringLiteral(" to ")))
                EXPECT_EQ(decimals(limit), shown) << "type " << t << " item " << item;
        }
    }
}
