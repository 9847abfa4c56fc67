// The list choice's OK step without the window: what it stores, zeroes and clears, and the rows it
// shows or hides.
#include "rules/list_commit.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "register_table.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

class Commit : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUiLanguage(Language::English);
        d.Set_Defaults();
        for (int item : {11, 59, 60, 61, 19, 20})
            d.ParaVal(item) = int16_t(100 + item);
    }
    // The operator chose `chosen` for `item`, whose value was `old` when the dialog opened.
    void choose(int item, int chosen)
    {
        const int16_t old = d.ParaVal(item);
        ops.clear();
        listCommit(d, ListChoice{item, old, chosen}, ops);
    }
    int vis(Ctl c, int i = -1)
    {
        const auto s = finalState(ops, c, i, Prop::Visible);
        return s.known ? int(s.value) : -1;
    }
    std::string text(Ctl c, int i = -1)
    {
        const auto s = finalState(ops, c, i, Prop::Text);
        return s.known ? s.text.toStdString() : "<untouched>";
    }
    bool dependantsKept()
    {
        for (int item : {11, 59, 60, 61, 19, 20})
            if (d.ParaVal(item) != 100 + item)
                return false;
        return true;
    }
    bool dependantsZeroed()
    {
        for (int item : {11, 59, 60, 61, 19, 20})
            if (d.ParaVal(item) != 0)
                return false;
        return true;
    }

    QmxData d;
    DisplayOps ops;
};

} // namespace

// Every temperature type puts the scaling limits to the range the simulated controller measures
// for it, on the infrared variant as well (its own range table is not used here).
TEST_F(Commit, OfflineInputTypeResetsTheScalingLimitsToTheTypesRange)
{
    for (bool infrared : {false, true}) {
        for (int t = 0; t <= 35; ++t) {
            d.Set_Defaults();
            d.RDModel = infrared;
            d.ParaVal(50) = int16_t(t == 7 ? 8 : 7);
            choose(50, t);
            const auto range = qmxsim::inputRange(t, false);
            ASSERT_TRUE(range);
            EXPECT_EQ(d.ParaVal(50), t);
            EXPECT_EQ(d.ParaVal(25), range->high) << t;
            EXPECT_EQ(d.ParaVal(26), range->low) << t;
            EXPECT_TRUE(dependantsZeroed()) << t;
        }
    }
}

TEST_F(Commit, TheSameInputTypeAgainResetsTheLimitsAndZeroesNothing)
{
    d.ParaVal(50) = 2;
    d.ParaVal(25) = 500;
    d.ParaVal(26) = 10;
    for (int item : {11, 59, 60, 61, 19, 20})
        d.ParaVal(item) = int16_t(100 + item);
    choose(50, 2);
    EXPECT_EQ(d.ParaVal(25), 1000);
    EXPECT_EQ(d.ParaVal(26), -200);
    EXPECT_TRUE(dependantsKept());
}

TEST_F(Commit, OfflineDcInputShowsTheDecimalPointRow)
{
    choose(50, 33);
    EXPECT_EQ(d.ParaVal(25), 10000);
    EXPECT_EQ(d.ParaVal(26), -2000);
    EXPECT_EQ(vis(Ctl::Label_oth, 5), 1);
    EXPECT_EQ(vis(Ctl::Cmd_set, 17), 1);
    EXPECT_EQ(vis(Ctl::Label_oth, 20), 0) << "no DC current output declared";
    EXPECT_EQ(text(Ctl::Label_othval, 2), "0 to 5V DC(-2000 to 10000)");
    d.OptSet_OutType = 2;
    choose(50, 30);
    EXPECT_EQ(vis(Ctl::Label_oth, 20), 1);
    EXPECT_EQ(vis(Ctl::Cmd_set, 53), 1);
    choose(50, 3);
    EXPECT_EQ(vis(Ctl::Label_oth, 5), 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 20), 0);
}

TEST_F(Commit, OnlineInputTypeAsksForAnUploadAndLeavesTheLimits)
{
    d.OnLine = true;
    d.ParaVal(25) = 321;
    choose(50, 4);
    EXPECT_EQ(d.ParaVal(50), 4);
    EXPECT_TRUE(d.ReUpload);
    EXPECT_EQ(d.ParaVal(25), 321);
    EXPECT_TRUE(dependantsKept());
    EXPECT_EQ(text(Ctl::Label_othval, 2), "<untouched>");
}

TEST_F(Commit, AlarmTypeRowsAndValue)
{
    d.ParaVal(36) = 1;
    choose(36, 0);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(vis(Ctl::Label_Alm1, r), 0) << r;
        EXPECT_EQ(vis(Ctl::Label_A1val, r), 0) << r;
    }
    for (int b : {9, 28, 30, 38})
        EXPECT_EQ(vis(Ctl::Cmd_set, b), 0) << b;
    EXPECT_EQ(vis(Ctl::Label_CF, 1), 0);
    EXPECT_EQ(vis(Ctl::Label1, 0), 0);
    EXPECT_EQ(text(Ctl::Label_A1val, 4), "No alarm action");
    EXPECT_EQ(d.ParaVal(19), 0) << "the type changed: its value no longer means anything";
    EXPECT_EQ(d.ParaVal(20), 120) << "alarm 2 keeps its value";

    d.ParaVal(20) = 55;
    d.ParaVal(37) = 3;
    choose(37, 3);
    EXPECT_EQ(d.ParaVal(20), 55) << "the same type keeps the value";
    EXPECT_EQ(vis(Ctl::Label_Alm2, 0), 1);
    EXPECT_EQ(vis(Ctl::Cmd_set, 39), 1);
    EXPECT_EQ(vis(Ctl::Label_Alm1, 0), -1) << "alarm 1 untouched";
}

TEST_F(Commit, OnlineAlarmTypeAsksForAnUploadOnly)
{
    d.OnLine = true;
    choose(37, 2);
    EXPECT_EQ(d.ParaVal(37), 2);
    EXPECT_TRUE(d.ReUpload);
    EXPECT_EQ(d.ParaVal(20), 120);
    EXPECT_EQ(ops.size(), 0u);
}

TEST_F(Commit, AutoTuningCancelClearsATrunOnlineAndOffline)
{
    for (bool online : {false, true}) {
        d.OnLine = online;
        d.ATrun = true;
        choose(12, 1);
        EXPECT_TRUE(d.ATrun) << online;
        choose(12, 0);
        EXPECT_FALSE(d.ATrun) << online;
        EXPECT_EQ(d.ParaVal(12), 0);
    }
}

TEST_F(Commit, ManualOutputButtonsFollowAutoManual)
{
    choose(46, 1);
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(vis(Ctl::Manuval, i), 1) << i;
    EXPECT_EQ(text(Ctl::Label_othval, 15), "Manual control");
    d.OnLine = true;
    choose(46, 0);
    EXPECT_EQ(vis(Ctl::Manuval, 3), 0);
    EXPECT_EQ(text(Ctl::Label_othval, 15), "<untouched>");
}

TEST_F(Commit, ContactInputFunctionDecidesTheSetValueRows)
{
    const struct {
        int value;
        int rows[3];
    } rows[] = {{0, {1, 1, 1}}, {1, {1, 0, 0}}, {2, {0, 0, 0}}};
    for (const auto& r : rows) {
        choose(62, r.value);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(vis(Ctl::Label_oth, 17 + k), r.rows[k]) << r.value << "/" << k;
            EXPECT_EQ(vis(Ctl::Label_CF, 14 + k), r.rows[k]) << r.value << "/" << k;
            EXPECT_EQ(vis(Ctl::Cmd_set, 49 + k), r.rows[k]) << r.value << "/" << k;
        }
    }
}

TEST_F(Commit, KeyFunctionSwapsOutputOffAndAutoManual)
{
    choose(64, 1);
    EXPECT_EQ(vis(Ctl::Label_oth, 10), 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 15), 1);
    EXPECT_EQ(vis(Ctl::Cmd_set, 36), 1);
    EXPECT_EQ(text(Ctl::Label_othval, 21), "Auto/Manual control function");
    EXPECT_EQ(vis(Ctl::Label_oth, 21), -1) << "offline the row stays as it is";
    d.OnLine = true;
    choose(64, 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 10), 1);
    EXPECT_EQ(vis(Ctl::Label_oth, 15), 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 21), 1);
    EXPECT_EQ(text(Ctl::Label_othval, 21), "OUT/OFF function");
    EXPECT_EQ(text(Ctl::Label_othval, 10), "Control output OUT");
}

TEST_F(Commit, NoChoiceKeepsTheValue)
{
    d.ParaVal(22) = 2;
    choose(22, -1);
    EXPECT_EQ(d.ParaVal(22), 2);
    EXPECT_EQ(text(Ctl::Label_othval, 0), "Lock 2");
    // A value outside the list stays and its label is left to the re-layout.
    d.ParaVal(55) = 40;
    choose(55, -1);
    EXPECT_EQ(d.ParaVal(55), 40);
    EXPECT_EQ(text(Ctl::Label_othval, 11), "<untouched>");
}

TEST_F(Commit, OtherListsSetTheirValueLabelOffline)
{
    const struct {
        int item;
        int value;
        Ctl ctl;
        int index;
        const char* text;
    } rows[] = {
        {22, 3, Ctl::Label_othval, 0, "Lock 3"},
        {27, 2, Ctl::Label_othval, 5, "XX. XX"},
        {32, 1, Ctl::Label_coolval, 0, "Oil cooling"},
        {42, 2, Ctl::Label_othval, 16, "PV indication"},
        {45, 1, Ctl::Label_othval, 10, "Control output OFF"},
        {48, 1, Ctl::Label_A1val, 3, "Deenergized"},
        {49, 0, Ctl::Label_A2val, 3, "Energized"},
        {51, 1, Ctl::Label_othval, 9, "Cooling(direct)"},
        {55, 4, Ctl::Label_othval, 11, "PV and SV displays are backlit."},
        {56, 1, Ctl::Label_othval, 12, "Red"},
        {63, 1, Ctl::Label_othval, 20, "Output ON"},
    };
    for (const auto& r : rows) {
        choose(r.item, r.value);
        EXPECT_EQ(d.ParaVal(r.item), r.value) << r.item;
        EXPECT_EQ(text(r.ctl, r.index), r.text) << r.item;
    }
}

TEST_F(Commit, ANumericItemStoresNothing)
{
    d.ParaVal(15) = 77;
    choose(15, 3);
    EXPECT_EQ(d.ParaVal(15), 77);
    EXPECT_EQ(ops.size(), 0u);
}
