// The list items, their option counts and captions.
#include "rules/option_lists.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "register_table.h"

#include <gtest/gtest.h>

#include <set>

using namespace qmx;

namespace {

class Lists : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUiLanguage(Language::English);
        d.Set_Defaults();
    }
    std::string caption(int item, int index)
    {
        return optionCaption(d, optionFrameOf(item), index).toStdString();
    }
    std::string frame(int item) { return frameCaption(d, optionFrameOf(item)).toStdString(); }
    QmxData d;
};

constexpr int kListItems[] = {12, 22, 27, 32, 36, 37, 42, 45, 46,
                              48, 49, 50, 51, 55, 56, 62, 63, 64};

} // namespace

TEST_F(Lists, EighteenItemsShareSixteenFrames)
{
    std::set<int> frames;
    for (int item : kListItems) {
        ASSERT_GE(optionFrameOf(item), 0) << item;
        frames.insert(optionFrameOf(item));
    }
    EXPECT_EQ(frames.size(), 16u);
    EXPECT_EQ(optionFrames().size(), 16u);
    EXPECT_EQ(optionFrameOf(36), optionFrameOf(37));
    EXPECT_EQ(optionFrameOf(48), optionFrameOf(49));
    for (int item = 0; item <= 70; ++item)
        if (std::find(std::begin(kListItems), std::end(kListItems), item) == std::end(kListItems))
            EXPECT_EQ(optionFrameOf(item), -1) << item;
}

// Each list offers exactly the values the simulated controller accepts for its register.
TEST_F(Lists, OptionCountsAreTheValuesTheControllerAccepts)
{
    int checked = 0;
    for (const qmxsim::ParameterInfo& p : qmxsim::parameterTable()) {
        const int frame = optionFrameOf(p.item);
        if (frame < 0)
            continue;
        EXPECT_EQ(p.min, 0) << p.item;
        EXPECT_EQ(offeredOptions(d, frame), p.max + 1) << p.item;
        ++checked;
    }
    EXPECT_EQ(checked, 15); // 62, 63 and 64 are written through the special commands
}

TEST_F(Lists, InfraredInputTypesAreTheControllersFour)
{
    d.RDModel = true;
    const int frame = optionFrameOf(50);
    EXPECT_EQ(offeredOptions(d, frame), qmxsim::inputTypeCount(true));
    EXPECT_EQ(caption(50, 0), "0.0 to 250.0 deg.C");
    EXPECT_EQ(caption(50, 3), "32.0 to 932.0 deg.F");
    EXPECT_EQ(caption(50, 4), "");
    EXPECT_EQ(optionForValue(d, frame, 3), 3);
    EXPECT_EQ(optionForValue(d, frame, 4), -1);
}

TEST_F(Lists, StandardInputTypes)
{
    const int frame = optionFrameOf(50);
    EXPECT_EQ(offeredOptions(d, frame), qmxsim::inputTypeCount(false));
    EXPECT_EQ(caption(50, 0), "K(-200 to 1370 deg.C)");
    EXPECT_EQ(caption(50, 29), "JPt100(-320 to 900 deg.F)");
    EXPECT_EQ(caption(50, 35), "0 to 10V DC(-2000 to 10000)");
    EXPECT_EQ(frame, optionFrameOf(50));
    EXPECT_EQ(this->frame(50), "Input type selection");
}

TEST_F(Lists, AutoTuningOrAutoResetWording)
{
    EXPECT_EQ(frame(12), "AT selection");
    EXPECT_EQ(caption(12, 0), "AT Cancel");
    EXPECT_EQ(caption(12, 1), "AT Perform");
    for (int zero : {13, 15, 16}) {
        QmxData saved = d;
        d.ParaVal(zero) = 0;
        EXPECT_EQ(frame(12), "Auto-reset selection") << zero;
        EXPECT_EQ(caption(12, 0), "Auto-reset Cancel") << zero;
        EXPECT_EQ(caption(12, 1), "Auto-reset Perform") << zero;
        d = saved;
    }
}

TEST_F(Lists, CaptionsOfTheOtherLists)
{
    const struct {
        int item;
        int index;
        const char* text;
    } rows[] = {
        {22, 0, "Unlock"},
        {22, 3, "Lock 3"},
        {27, 0, "XXXX"},
        {27, 1, "XXX. X"},
        {27, 2, "XX. XX"},
        {27, 3, "X. XXX"},
        {32, 2, "Water cooling"},
        {36, 1, "High limit alarm"},
        {36, 2, "Low limit alarm"},
        {37, 7, "High limit alarm with standby"},
        {37, 9, "High/Low limits alarm with standby"},
        {42, 3, "PV indication + Alarm 1 and Alarm 2 output active"},
        {45, 0, "Control output OUT"},
        {45, 1, "Control output OFF"},
        {46, 1, "Manual control"},
        {49, 1, "Deenergized"},
        {51, 1, "Cooling(direct)"},
        {55, 6, "SV and action indicators are backlit."},
        {56, 5, "PV color changes continuously "},
        {62, 0, "Set value memory external selection"},
        {63, 1, "Output ON"},
        {64, 1, "Auto/Manual control function"},
        {36, 10, ""},
        {36, -1, ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(caption(r.item, r.index), r.text) << r.item << "/" << r.index;
    EXPECT_EQ(frame(36), "Alarm type selection");
    EXPECT_EQ(frame(48), "Alarm action Energized/Deenergized");
    EXPECT_EQ(frame(64), "OUT/OFF key function");
}

TEST_F(Lists, AStoredValueOutsideTheListSelectsNothing)
{
    const int frame = optionFrameOf(36);
    EXPECT_EQ(optionForValue(d, frame, 9), 9);
    for (int v : {-1, 10, 32767, -32768})
        EXPECT_EQ(optionForValue(d, frame, v), -1) << v;
    EXPECT_EQ(offeredOptions(d, -1), 0);
    EXPECT_EQ(optionCaption(d, 99, 0), QString());
}
