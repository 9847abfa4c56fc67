#include "model/string_table.h"
#include "model/value_text.h"
#include "rules/live_panel.h"
#include "rules/settings_pages.h"
#include "rules/value_labels.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

class Pages : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUiLanguage(Language::English);
        d.Set_Defaults();
    }
    void layout()
    {
        ops.clear();
        fx = {};
        pages.Disp_SStab2(d, 0, ops, fx);
    }
    // Visibility after the layout; -1 when the layout did not touch it.
    int vis(Ctl c, int i = -1)
    {
        const auto s = finalState(ops, c, i, Prop::Visible);
        return s.known ? int(s.value) : -1;
    }
    bool disabled(int button)
    {
        const auto s = finalState(ops, Ctl::Cmd_set, button, Prop::Enabled);
        return s.known && s.value == 0;
    }
    std::string text(Ctl c, int i = -1)
    {
        const auto s = finalState(ops, c, i, Prop::Text);
        return s.known ? s.text.toStdString() : "<untouched>";
    }
    uint32_t bg(Ctl c, int i = -1) { return finalState(ops, c, i, Prop::BackColor).value; }

    QmxData d;
    SettingsPages pages;
    DisplayOps ops;
    PagesEffects fx;
};

} // namespace

TEST_F(Pages, BuiltInDefaults)
{
    layout();
    // Alarm 1 type 0: only the type row, with its button.
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(vis(Ctl::Label_A1val, r), 0) << r;
    EXPECT_EQ(text(Ctl::Label_A1val, 4), "No alarm action");
    EXPECT_EQ(vis(Ctl::Cmd_set, 26), 1);
    EXPECT_EQ(vis(Ctl::Label_CF, 1), 0);
    // No alarm 2, no heater burnout, no cooling.
    EXPECT_EQ(vis(Ctl::Frame_Alarm2), 0);
    EXPECT_EQ(vis(Ctl::lbl_alm, 1), 0);
    for (int b : {10, 27, 29, 31, 39, 11, 44, 4, 8, 14, 22, 23, 24, 25})
        EXPECT_TRUE(disabled(b)) << b;
    EXPECT_EQ(vis(Ctl::Frame_HB), 0);
    EXPECT_EQ(vis(Ctl::Frame_Cool), 0);
    EXPECT_EQ(vis(Ctl::Label58), 0);
    // PID with the auto-tuning row.
    EXPECT_EQ(text(Ctl::Label_pid, 0), "Auto-tuning");
    EXPECT_EQ(text(Ctl::Label_pidval, 0), "During AT cancellation");
    EXPECT_EQ(text(Ctl::Label_atm), "AT");
    EXPECT_EQ(vis(Ctl::Label_pid, 4), 1);
    EXPECT_EQ(vis(Ctl::Label_pid, 8), 0);
    EXPECT_EQ(vis(Ctl::Label_pid, 9), 1);
    EXPECT_EQ(text(Ctl::Label_pidval, 9), "20");
    // Units and the other pages.
    EXPECT_EQ(text(Ctl::Label_CF, 0), "deg.C");
    EXPECT_EQ(text(Ctl::Label_UD, 1), "deg.C/min");
    EXPECT_EQ(text(Ctl::Label_othval, 2), "K(-200 to 1370 deg.C)");
    EXPECT_EQ(vis(Ctl::Label_oth, 5), 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 23), 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 17), 0);
    EXPECT_EQ(text(Ctl::Label_OUTOFF), "Control output");
    EXPECT_EQ(bg(Ctl::Label_OUTOFF), colour::LightGreen);
    EXPECT_EQ(text(Ctl::Label5), "OUT");
    EXPECT_TRUE(fx.clearMv2Caption);
    EXPECT_EQ(fx.selectOptionManu, -1);
}

TEST_F(Pages, ControlModeByPid)
{
    struct Row {
        int p, i, dd;
        int atm;
        const char* atmText;
        int row0, row4, row9, row8;
    };
    const Row rows[] = {
        {0, 200, 50, 0, "<untouched>", 0, 0, 0, 1}, {10, 200, 0, 0, "<untouched>", 0, 0, 0, 0},
        {10, 0, 50, 1, "AR", 1, 0, 0, 0},           {10, 0, 0, 1, "AR", 1, 0, 0, 0},
        {10, 200, 50, 1, "AT", 1, 1, 1, 0},
    };
    for (const auto& r : rows) {
        d.ParaVal(13) = int16_t(r.p);
        d.ParaVal(15) = int16_t(r.i);
        d.ParaVal(16) = int16_t(r.dd);
        layout();
        SCOPED_TRACE(testing::Message() << r.p << "/" << r.i << "/" << r.dd);
        EXPECT_EQ(vis(Ctl::Label_atm), r.atm);
        EXPECT_EQ(text(Ctl::Label_atm), r.atmText);
        EXPECT_EQ(vis(Ctl::Label_pid, 0), r.row0);
        EXPECT_EQ(vis(Ctl::Label_pid, 4), r.row4);
        EXPECT_EQ(vis(Ctl::Label_pid, 9), r.row9);
        EXPECT_EQ(vis(Ctl::Label_pid, 8), r.row8);
        EXPECT_EQ(vis(Ctl::Cmd_set, 42), r.row9);
        EXPECT_EQ(vis(Ctl::Label_pid, 10), 1);
    }
    d.ParaVal(13) = 10;
    d.ParaVal(15) = 0;
    layout();
    EXPECT_EQ(text(Ctl::Label_pid, 0), "Auto-reset");
}

TEST_F(Pages, DcInputAndDcOutput)
{
    d.ParaVal(50) = 31;
    d.ParaVal(27) = 2;
    d.ParaVal(23) = 1234;
    d.OptSet_OutType = 2;
    layout();
    EXPECT_EQ(text(Ctl::Label_CF, 0), "");
    EXPECT_EQ(text(Ctl::Label_CF, 5), "%");
    EXPECT_EQ(text(Ctl::Label_UD, 0), "/min");
    EXPECT_EQ(vis(Ctl::Label_oth, 5), 1);
    EXPECT_EQ(text(Ctl::Label_othval, 5), "XX.XX");
    EXPECT_EQ(text(Ctl::Label_othval, 1), "12.34");
    EXPECT_EQ(vis(Ctl::Label_pid, 9), 0); // no AT bias for a DC input
    EXPECT_EQ(vis(Ctl::Label_pid, 5), 0); // no proportional cycle for a current output
    EXPECT_EQ(vis(Ctl::Cmd_set, 7), 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 20), 1);
    d.OptSet_OutType = 1;
    layout();
    EXPECT_EQ(vis(Ctl::Label_oth, 20), 0);
    EXPECT_EQ(vis(Ctl::Label_pid, 5), 1);
}

TEST_F(Pages, InfraredModel)
{
    d.RDModel = true;
    d.ParaVal(50) = 2;
    layout();
    for (int k : {3, 4, 5})
        EXPECT_EQ(vis(Ctl::Label_oth, k), 0) << k;
    EXPECT_EQ(vis(Ctl::Label_oth, 23), 1);
    EXPECT_EQ(text(Ctl::Label_othval, 23), "0.950");
    EXPECT_EQ(vis(Ctl::Cmd_set, 56), 1);
    EXPECT_EQ(text(Ctl::Label_CF, 0), "deg.F");
    EXPECT_EQ(text(Ctl::Label_CF, 5), "%");
    EXPECT_EQ(text(Ctl::Label_UD, 0), "deg.F/min");
    // Back to a standard set: the scaling rows come back with their units.
    d.RDModel = false;
    d.ParaVal(50) = 0;
    layout();
    EXPECT_EQ(vis(Ctl::Label_oth, 3), 1);
    EXPECT_EQ(vis(Ctl::Label_CF, 11), 1);
    EXPECT_EQ(vis(Ctl::Label_CF, 12), 1);
    EXPECT_EQ(vis(Ctl::Label_oth, 23), 0);
}

TEST_F(Pages, HeaterBurnoutOptions)
{
    struct Row {
        int hb;
        bool online;
        int optionBits;
        const char* cap0;
        int row1;
        int ct2;
    };
    const Row rows[] = {
        {1, false, 0, "Heater burnout alarm 1 setting (20.0A)", 0, 0},
        {2, false, 0, "Heater burnout alarm 1 setting (50.0A)", 0, 0},
        {2, true, 0, "Heater burnout alarm 1 setting (20.0A)", 0, 0},
        {2, true, 0x08, "Heater burnout alarm 1 setting (50.0A)", 0, 0},
        {1, true, 0x08, "Heater burnout alarm 1 setting (50.0A)", 0, 0},
        {3, false, 0x08, "Heater burnout alarm 1 setting (20.0A)", 1, 1},
        {4, true, 0, "Heater burnout alarm 1 setting (50.0A)", 1, 1},
    };
    for (const auto& r : rows) {
        d.OptSet_HB = int16_t(r.hb);
        d.OnLine = r.online;
        d.MonVal(7) = int16_t(r.optionBits);
        layout();
        SCOPED_TRACE(testing::Message() << "hb " << r.hb << " online " << r.online);
        EXPECT_EQ(vis(Ctl::Frame_HB), 1);
        EXPECT_EQ(vis(Ctl::lbl_alm, 4), 1);
        EXPECT_EQ(text(Ctl::Label_Alm_HB, 0), r.cap0);
        EXPECT_EQ(vis(Ctl::Label_HBval, 1), r.row1);
        EXPECT_EQ(vis(Ctl::Text_HB, 2), r.ct2);
        EXPECT_EQ(vis(Ctl::Text_HB, 1), 1);
    }
    d.OptSet_HB = 3;
    d.MonVal(4) = 0x40;
    layout();
    EXPECT_EQ(text(Ctl::Label_Alm_HB, 1), "Heater burnout alarm 2 setting (20.0A)");
    EXPECT_EQ(bg(Ctl::lbl_alm, 4), colour::Red);

    // A file can carry an option word no controller has: the group shows its common part and
    // decides nothing else.
    d.OptSet_HB = 5;
    layout();
    EXPECT_EQ(vis(Ctl::Frame_HB), 1);
    EXPECT_EQ(vis(Ctl::Label_HBval, 0), 1);
    EXPECT_EQ(vis(Ctl::lbl_alm, 4), 1);
    EXPECT_EQ(vis(Ctl::Label_HBval, 1), -1);
}

TEST_F(Pages, AlarmTwoEveryType)
{
    d.OptSet_Alarm2 = 1;
    d.ParaVal(20) = 55;
    for (int type = 0; type <= 9; ++type) {
        d.ParaVal(37) = int16_t(type);
        layout();
        EXPECT_EQ(vis(Ctl::Frame_Alarm2), 1);
        EXPECT_EQ(vis(Ctl::Label_A2val, 0), type ? 1 : 0) << type;
        EXPECT_EQ(vis(Ctl::Cmd_set, 27), 1);
        EXPECT_EQ(text(Ctl::Label_A2val, 4), Alarm_Type_Text(type).toStdString());
        if (type) {
            EXPECT_EQ(text(Ctl::Label_A2val, 0), "55");
        }
    }
}

TEST_F(Pages, HeatingCoolingRows)
{
    d.OptSet_HeatCool = 1;
    struct Row {
        int p, pc;
        std::vector<int> shown;
        int seconds;
        int cf9;
    };
    const Row rows[] = {
        {0, 10, {5, 6}, 0, 1},
        {10, 0, {1, 5, 6}, 0, 1},
        {10, 10, {0, 1, 2, 3, 4, 5}, 1, 0},
    };
    for (const auto& r : rows) {
        d.ParaVal(13) = int16_t(r.p);
        d.ParaVal(14) = int16_t(r.pc);
        layout();
        SCOPED_TRACE(testing::Message() << "P " << r.p << " Pc " << r.pc);
        EXPECT_EQ(vis(Ctl::Frame_Cool), 1);
        EXPECT_EQ(vis(Ctl::Label58), 1);
        for (int i = 0; i <= 6; ++i) {
            const bool want = std::find(r.shown.begin(), r.shown.end(), i) != r.shown.end();
            EXPECT_EQ(vis(Ctl::Label_coolval, i), int(want)) << "row " << i;
        }
        EXPECT_EQ(vis(Ctl::Label1, 5), r.seconds);
        EXPECT_EQ(vis(Ctl::Label_CF, 9), r.cf9);
    }
    EXPECT_FALSE(fx.clearMv2Caption);
}

TEST_F(Pages, SetValuesTwoToFourByContactInput)
{
    d.OptSet_SVsel = 1;
    const int want[3][3] = {{1, 1, 1}, {1, 0, 0}, {0, 0, 0}};
    for (int contact = 0; contact <= 2; ++contact) {
        d.ParaVal(62) = int16_t(contact);
        layout();
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(vis(Ctl::Label_oth, 17 + k), want[contact][k]) << contact << "/" << k;
            EXPECT_EQ(vis(Ctl::Cmd_set, 49 + k), want[contact][k]);
            EXPECT_EQ(vis(Ctl::Label_CF, 14 + k), want[contact][k]);
        }
        EXPECT_EQ(vis(Ctl::Label_oth, 22), 1);
    }
    d.OptSet_Comm = 1;
    layout();
    EXPECT_EQ(vis(Ctl::Label_oth, 17), 0);
    EXPECT_EQ(vis(Ctl::Label_oth, 22), 0);
}

TEST_F(Pages, ManualOutputFollowsTheAutoManualEdge)
{
    d.ParaVal(64) = 1;
    d.ParaVal(46) = 1;
    layout();
    EXPECT_EQ(vis(Ctl::Manuval, 0), 1);
    EXPECT_EQ(text(Ctl::Label_OUTOFF), "Manual control");
    EXPECT_EQ(fx.selectOptionManu, 1);
    EXPECT_EQ(text(Ctl::Label_othval, 15), "Manual control");
    EXPECT_EQ(vis(Ctl::Label_oth, 15), 1);
    EXPECT_EQ(vis(Ctl::Label_oth, 10), 0);
    layout(); // still manual: the edge is applied once
    EXPECT_EQ(fx.selectOptionManu, -1);
    d.ParaVal(46) = 0;
    layout();
    EXPECT_EQ(vis(Ctl::Manuval, 5), 0);
    EXPECT_EQ(fx.selectOptionManu, 0);
    EXPECT_EQ(text(Ctl::Label_OUTOFF), "Automatic control");
    // OUT/OFF key function: the OFF state on white.
    d.ParaVal(64) = 0;
    d.ParaVal(45) = 1;
    layout();
    EXPECT_EQ(text(Ctl::Label5), "OFF");
    EXPECT_EQ(bg(Ctl::Label_OUTOFF), colour::White);
    EXPECT_EQ(vis(Ctl::Label_oth, 15), 0);
}

namespace {

class Panel : public Pages {
protected:
    void refresh()
    {
        ops.clear();
        fx = {};
        SelectDispItem(d, pages, 0, ops, fx, chart);
    }
    ChartCaptions chart;
};

} // namespace

TEST_F(Panel, PvOutOfRangeAndLamps)
{
    d.MonVal(0) = 1234;
    struct Row {
        int status;
        const char* pv;
        const char* chart;
        uint32_t up, down;
    };
    const Row rows[] = {
        {0, "1234", "1234", colour::White, colour::White},
        {0x100, "----", "----U1234", colour::Red, colour::White},
        {0x200, "----", "----D1234", colour::White, colour::Red},
        {0x300, "----", "----U1234", colour::Red, colour::Red},
    };
    for (const auto& r : rows) {
        d.MonVal(4) = int16_t(r.status);
        refresh();
        EXPECT_EQ(text(Ctl::Text_PV), r.pv);
        EXPECT_EQ(chart.Pv0Caption.toStdString(), r.chart);
        EXPECT_EQ(bg(Ctl::lbl_alm, 2), r.up);
        EXPECT_EQ(bg(Ctl::lbl_alm, 3), r.down);
    }
    d.MonVal(4) = 0x0805;
    refresh();
    EXPECT_EQ(bg(Ctl::lbl_alm, 0), colour::Red);
    EXPECT_EQ(bg(Ctl::Label23), colour::Green);
    EXPECT_EQ(bg(Ctl::Label_atm), colour::Yellow);
}

TEST_F(Panel, OptionLampsEndByTheScreenOptions)
{
    d.MonVal(4) = 0x08 | 0x40 | 0x02;
    d.MonVal(7) = 0; // the controller reports no options
    d.OptSet_Alarm2 = 1;
    refresh();
    EXPECT_EQ(vis(Ctl::lbl_alm, 1), 1);
    EXPECT_FALSE(finalState(ops, Ctl::lbl_alm, 1, Prop::BackColor).known);
    EXPECT_EQ(chart.Mv2Caption, "");
    EXPECT_EQ(vis(Ctl::Label58), 0);

    d.MonVal(7) = 0x20 | 0x04 | 0x40;
    d.MonVal(2) = 250;
    d.OptSet_Alarm2 = 0;
    d.OptSet_HeatCool = 1;
    d.OnLine = true;
    refresh();
    EXPECT_EQ(bg(Ctl::lbl_alm, 1), colour::Red);
    EXPECT_EQ(vis(Ctl::lbl_alm, 1), 0); // the screen's option set decides last
    EXPECT_EQ(vis(Ctl::lbl_alm, 4), 0);
    EXPECT_EQ(bg(Ctl::Label58), colour::Yellow);
    EXPECT_EQ(vis(Ctl::Label58), 1);
    EXPECT_EQ(chart.Mv2Caption, "25.0");
    EXPECT_EQ(text(Ctl::Text_MV, 1), "25.0");
}

TEST(ValueLabels, WrittenFromTheStoredValues)
{
    setUiLanguage(Language::English);
    QmxData d;
    d.Set_Defaults();
    DisplayOps ops;
    int last = 0, calls = 0;
    Read_data3(d, ops, [&](int n) {
        last = n;
        ++calls;
    });
    EXPECT_EQ(last, 55);
    EXPECT_EQ(calls, 55);
    EXPECT_FALSE(finalState(ops, Ctl::Label_othval, 23, Prop::Text).known);
    EXPECT_EQ(finalState(ops, Ctl::Label_othval, 17, Prop::Text).text, "0");
    EXPECT_EQ(finalState(ops, Ctl::Label_othval, 16, Prop::Text).text, "OFF indication");

    d.RDModel = true;
    d.ParaVal(50) = 2;
    d.ParaVal(13) = 25;
    ops.clear();
    Read_data3(d, ops, [&](int n) { last = n; });
    EXPECT_EQ(last, 56);
    EXPECT_EQ(finalState(ops, Ctl::Label_othval, 23, Prop::Text).text, "0.950");
    EXPECT_EQ(finalState(ops, Ctl::Label_pidval, 1, Prop::Text).text, "25");

    d.RDModel = false;
    d.ParaVal(50) = 33;
    d.ParaVal(27) = 7;
    d.ParaVal(31) = 15;
    ops.clear();
    Read_data3(d, ops, nullptr);
    EXPECT_FALSE(finalState(ops, Ctl::Label_A1val, 0, Prop::Text).known);
    EXPECT_EQ(finalState(ops, Ctl::Label_pidval, 8, Prop::Text).text, "1.5");
    EXPECT_EQ(finalState(ops, Ctl::Label_othval, 5, Prop::Text).text, "");
}
