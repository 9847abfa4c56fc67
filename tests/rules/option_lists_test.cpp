// The list items and their options, against what the simulated controller accepts and measures,
// and the captions the operator reads.
#include "rules/option_lists.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "model/value_text.h"
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

} // namespace

// A register the controller takes only a few values for (0..n, n < 36) is chosen from a list of
// exactly those values; any other register takes a number. Items 62..64 are written through the
// special commands and choose from lists too.
TEST_F(Lists, ListsAreTheControllersSelections)
{
    std::set<int> known = {62, 63, 64};
    for (const qmxsim::ParameterInfo& p : qmxsim::parameterTable()) {
        known.insert(p.item);
        const bool selection = p.min == 0 && p.max < 36;
        const int frame = optionFrameOf(p.item);
        EXPECT_EQ(frame >= 0, selection) << p.item;
        EXPECT_EQ(offeredOptions(d, frame), selection ? p.max + 1 : 0) << p.item;
    }
    for (int item : {62, 63, 64})
        EXPECT_GE(offeredOptions(d, optionFrameOf(item)), 2) << item;
    for (int item = -1; item <= 70; ++item)
        EXPECT_TRUE(known.count(item) || optionFrameOf(item) == -1) << item;
    EXPECT_EQ(offeredOptions(d, -1), 0);
    EXPECT_EQ(optionCaption(d, 99, 0), QString());
}

// Each input type names the range the simulator measures for it; the infrared variant offers its
// four, and a stored type past the list selects nothing and has no caption.
TEST_F(Lists, InputTypesNameTheControllersRanges)
{
    for (bool infrared : {false, true}) {
        d.RDModel = infrared;
        const int frame = optionFrameOf(50);
        const int count = qmxsim::inputTypeCount(infrared);
        EXPECT_EQ(offeredOptions(d, frame), count);
        for (int t = 0; t < count; ++t) {
            const auto r = qmxsim::inputRange(t, infrared);
            const int decimals = r->scale == 10 ? 1 : 0;
            const QString range = formatScaled(r->low, decimals) + QStringLiteral(" to ") +
                                  formatScaled(r->high, decimals);
            EXPECT_TRUE(optionCaption(d, frame, t).contains(range))
                << infrared << "/" << t << ": " << optionCaption(d, frame, t).toStdString();
            EXPECT_EQ(optionForValue(d, frame, t), t);
        }
        for (int v : {-1, count, 32767, -32768}) {
            EXPECT_EQ(optionForValue(d, frame, v), -1) << v;
            EXPECT_EQ(optionCaption(d, frame, v), QString()) << v;
        }
    }
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

// The options in the order of the controller's values, first and last of each list.
TEST_F(Lists, CaptionsInTheControllersOrder)
{
    const struct {
        int item;
        int index;
        const char* text;
    } rows[] = {
        {22, 3, "Lock 3"},
        {32, 2, "Water cooling"},
        {36, 2, "Low limit alarm"},
        {37, 7, "High limit alarm with standby"},
        {37, 9, "High/Low limits alarm with standby"},
        {55, 6, "SV and action indicators are backlit."},
        {56, 5, "PV color changes continuously "},
        {62, 0, "Set value memory external selection"},
        {64, 1, "Auto/Manual control function"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(caption(r.item, r.index), r.text) << r.item << "/" << r.index;
    EXPECT_EQ(frame(36), "Alarm type selection");
    EXPECT_EQ(frame(48), "Alarm action Energized/Deenergized");
    EXPECT_EQ(frame(64), "OUT/OFF key function");
}
