#include "model/string_table.h"
#include "model/value_text.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

class ValueText : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUiLanguage(Language::English);
        d.Set_Defaults();
    }
    std::string text(int item) { return Para_Text(d, item).toStdString(); }
    QmxData d;
};

} // namespace

TEST(FormatScaled, ExactIntegerFormatting)
{
    const struct {
        int v;
        int dec;
        const char* want;
    } rows[] = {
        {-5, 0, "-5"},         {13700, 0, "13700"},  {-5, 1, "-0.5"},        {13700, 1, "1370.0"},
        {-5, 2, "-0.05"},      {13700, 2, "137.00"}, {-5, 3, "-0.005"},      {13700, 3, "13.700"},
        {0, 1, "0.0"},         {0, 3, "0.000"},      {-32768, 1, "-3276.8"}, {32767, 3, "32.767"},
        {-32768, 0, "-32768"}, {950, 3, "0.950"},    {-10, 1, "-1.0"},       {100000, 2, "1000.00"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(formatScaled(r.v, r.dec).toStdString(), r.want) << r.v << "/" << r.dec;
}

TEST_F(ValueText, DecimalsByItemAndInputType)
{
    struct Row {
        int item;
        int16_t raw;
        int inputType;
        int dp; // item 27
        bool rd;
        const char* want;
    };
    const Row rows[] = {
        {14, -5, 0, 0, false, "-0.5"},
        {14, 0, 0, 0, false, "0.0"},
        {66, 950, 0, 0, true, "0.950"},
        {19, 123, 1, 0, false, "12.3"},
        {19, 123, 0, 0, false, "123"},
        {19, 123, 30, 2, false, "1.23"},
        {19, 123, 30, 4, false, ""},
        {19, 123, 30, -1, false, ""},
        {23, 123, 29, 0, false, "12.3"},
        {23, 123, 31, 3, false, "0.123"},
        {23, 123, 31, 0, false, "123"},
        {13, 123, 0, 0, false, "123"},
        {13, 123, 33, 3, false, "12.3"},
        {13, 123, 7, 0, false, "12.3"},
        {13, 123, 0, 0, true, "12.3"},
        {15, 200, 1, 0, false, "200"},
        {40, 5, 30, 3, false, "5"},
        {21, 123, 0, 0, false, "12.3"},
        {57, 50, 40, 1, false, "5.0"},
        {11, 1500, 36, 0, false, "1500"},
        {11, 1234, 12, 0, false, "123.4"},
        {26, -2000, 30, 1, false, "-200.0"},
        // The infrared model: every temperature item carries one decimal.
        {11, 2500, 0, 0, true, "250.0"},
        {25, 5000, 1, 0, true, "500.0"},
        {23, 15, 40, 3, true, "1.5"},
    };
    for (const auto& r : rows) {
        d.ParaVal(r.item) = r.raw;
        d.ParaVal(50) = static_cast<int16_t>(r.inputType);
        d.ParaVal(27) = static_cast<int16_t>(r.dp);
        d.RDModel = r.rd;
        EXPECT_EQ(text(r.item), r.want)
            << "item " << r.item << " raw " << r.raw << " type " << r.inputType;
    }
}

TEST_F(ValueText, InfraredDecimalsDoNotFollowTheLastEditedItem)
{
    d.RDModel = true;
    d.MonVal(0) = 1234;
    for (int edited : {11, 15, 50, 66}) {
        d.ParaNo = edited;
        EXPECT_EQ(text(0), "123.4") << "after editing " << edited;
    }
}

TEST_F(ValueText, MonitorItems)
{
    d.MonVal(0) = -15;
    d.MonVal(1) = 1000;
    d.MonVal(2) = -5;
    d.MonVal(5) = 123;
    d.ParaVal(50) = 1;
    EXPECT_EQ(text(0), "-1.5");
    EXPECT_EQ(text(1), "100.0");
    EXPECT_EQ(text(2), "-0.5");
    EXPECT_EQ(text(5), "12.3");
}

TEST_F(ValueText, AutoTuningTextFollowsPid)
{
    struct Row {
        int p, i, dd, v;
        const char* para;
        const char* atar;
    };
    const Row rows[] = {
        {10, 200, 50, 0, "During AT cancellation", "During AT cancellation"},
        {10, 200, 50, 1, "During AT performance", "During AT performance"},
        {10, 200, 50, 2, "", ""},
        {0, 200, 50, 0, "", "During AR cancellation"},
        {0, 0, 0, 1, "", "During AR performance"},
        {10, 200, 0, 1, "", "During AR performance"},
        {10, 0, 50, 1, "During AR performance", "During AR performance"},
        {10, 0, 0, 0, "During AR cancellation", "During AR cancellation"},
    };
    for (const auto& r : rows) {
        d.ParaVal(13) = static_cast<int16_t>(r.p);
        d.ParaVal(15) = static_cast<int16_t>(r.i);
        d.ParaVal(16) = static_cast<int16_t>(r.dd);
        d.ParaVal(12) = static_cast<int16_t>(r.v);
        EXPECT_EQ(text(12), r.para) << r.p << " " << r.i << " " << r.dd << " " << r.v;
        EXPECT_EQ(ATAR_Text(d, r.v).toStdString(), r.atar);
    }
}

TEST_F(ValueText, Enumerations)
{
    struct Row {
        int item;
        int16_t v;
        const char* want;
    };
    const Row rows[] = {
        {22, 0, "Unlock"},
        {22, 3, "Lock 3"},
        {22, 4, ""},
        {27, 0, "XXXX"},
        {27, 3, "X.XXX"},
        {27, -1, ""},
        {32, 2, "Water cooling"},
        {32, 3, ""},
        {36, 0, "No alarm action"},
        {36, 2, "Low limit alarm"},
        {37, 7, "High limit alarm with standby"},
        {37, 9, "High/Low limits alarm with standby"},
        {37, 10, ""},
        {42, 3, "PV indication + Alarm 1 and Alarm 2 output active"},
        {42, 4, ""},
        {45, 0, "Control output OUT"},
        {45, 1, "Control output OFF"},
        {45, 2, "Control output OFF"},
        {46, 1, "Manual control"},
        {46, 2, ""},
        {48, 0, "Energized"},
        {49, 5, "Deenergized"},
        {50, 0, "K(-200 to 1370 deg.C)"},
        {50, 35, "0 to 10V DC(-2000 to 10000)"},
        {50, 36, ""},
        {51, 0, "Heating(reverse)"},
        {51, -1, "Cooling(direct)"},
        {55, 6, "SV and action indicators are backlit."},
        {55, 7, ""},
        {56, 5, "PV color changes continuously "},
        {62, 2, "OUT/OFF external selection 2"},
        {63, 1, "Output ON"},
        {64, 1, "Auto/Manual control function"},
        {64, 2, ""},
    };
    for (const auto& r : rows) {
        d.ParaVal(r.item) = r.v;
        EXPECT_EQ(text(r.item), r.want) << "item " << r.item << " value " << r.v;
    }
}

TEST_F(ValueText, LabelRoutinesDifferFromThePages)
{
    EXPECT_EQ(OutOff_Text(2), "");
    EXPECT_EQ(OutOff_Text(1), "Control output OFF");
    EXPECT_EQ(Alarm_Energize_Text(2), "");
    EXPECT_EQ(Action_Text(2), "");
    EXPECT_EQ(Action_Text(1), "Cooling(direct)");
    EXPECT_EQ(Dp_Text(1), "XXX. X");
    EXPECT_EQ(Dp_Text(3), "X. XXX");
    EXPECT_EQ(Dp_Text(4), "");
    EXPECT_EQ(Cool_Type_Text(0), "Air cooling");
    EXPECT_EQ(Alarm_Type_Text(-1), "");
    EXPECT_EQ(Indication_Text(3), "PV indication + Alarm 1 and Alarm 2 output active");
    EXPECT_EQ(Lock_Text(2), "Lock 2");
    EXPECT_EQ(Backlight_Text(0), "All are backlit.");
    EXPECT_EQ(PvColor_Text(7), "");
    EXPECT_EQ(AutoMan_Text(0), "Automatic control");
    EXPECT_EQ(EventInput_Text(0), "Set value memory external selection");
    EXPECT_EQ(Output_Text(0), "Output OFF");
    EXPECT_EQ(KeyFunction_Text(0), "OUT/OFF function");
}

TEST_F(ValueText, RangeTexts)
{
    d.ParaVal(50) = 36;
    EXPECT_EQ(MakeRange(d), "");
    d.RDModel = true;
    d.ParaVal(50) = 4;
    EXPECT_EQ(MakeRange(d), "");
    d.ParaVal(50) = 2;
    EXPECT_EQ(MakeRange(d), "32.0 to 482.0 deg.F");
    d.ParaVal(50) = 0;
    EXPECT_EQ(MakeRange(d), "0.0 to 250.0 deg.C");
    d.RDModel = false;
    d.ParaVal(50) = 17;
    EXPECT_EQ(MakeRange(d), "J(-320 to 1800 deg.F)");
}

TEST_F(ValueText, JapaneseTablesAreUsedOnAJapaneseSystem)
{
    setUiLanguage(Language::Japanese);
    d.ParaVal(22) = 0;
    EXPECT_EQ(Para_Text(d, 22), LoadResString(244, Language::Japanese));
    EXPECT_EQ(text(27), "XXXX");
    d.MonVal(0) = 12;
    EXPECT_EQ(text(0), "12"); // numbers are the same in both languages
    setUiLanguage(Language::English);
}
