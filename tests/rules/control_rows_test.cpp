// After an offline change of P, cooling P, I or D the PID and cooling rows look exactly as the
// window redrawn from the same data shows them (as a reload of that data does).
#include "rules/control_rows.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/settings_pages.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace qmx;

namespace {

// Every control of the two groups, with its index range.
struct Family {
    Ctl ctl;
    int count;
};
constexpr Family kFamilies[] = {
    {Ctl::Label_pid, 11}, {Ctl::Label_pidval, 11}, {Ctl::Label_cool, 7}, {Ctl::Label_coolval, 7},
    {Ctl::Label1, 7},     {Ctl::Label21, 5},       {Ctl::Label_CF, 18},  {Ctl::Cmd_set, 57},
    {Ctl::Label_atm, 1},  {Ctl::lbl_OUT, 1},
};

// The final visibility and text of every control of the groups; hidden controls' texts do not
// count (nobody reads them).
std::map<std::string, std::string> look(const DisplayOps& ops)
{
    std::map<std::string, std::string> out;
    for (const Family& f : kFamilies) {
        for (int i = 0; i < f.count; ++i) {
            const int index = f.count == 1 ? -1 : i;
            const auto vis = finalState(ops, f.ctl, index, Prop::Visible);
            const auto text = finalState(ops, f.ctl, index, Prop::Text);
            const std::string key = std::string(ctlName(f.ctl)) + "(" + std::to_string(i) + ")";
            const bool shown = !vis.known || vis.value != 0;
            out[key] = (vis.known ? (shown ? "shown" : "hidden") : "-") +
                       std::string(shown && text.known ? " " + text.text.toStdString() : "");
        }
    }
    return out;
}

// The same window drawn again: the later list on top of the earlier one.
void append(DisplayOps& to, const DisplayOps& more)
{
    for (const DisplayOp& op : more.ops()) {
        switch (op.prop) {
        case Prop::Visible:
            to.visible(op.ctl, op.index, op.value != 0);
            break;
        case Prop::Enabled:
            to.enabled(op.ctl, op.index, op.value != 0);
            break;
        case Prop::Text:
            to.text(op.ctl, op.index, op.text);
            break;
        case Prop::BackColor:
            to.colour(op.ctl, op.index, op.value);
            break;
        }
    }
}

DisplayOps layout(QmxData d)
{
    SettingsPages pages;
    DisplayOps ops;
    PagesEffects fx;
    pages.Disp_SStab2(d, 0, ops, fx);
    return ops;
}

} // namespace

TEST(ControlRows, OfflineChangeLooksLikeAFreshLayout)
{
    setUiLanguage(Language::English);
    int checked = 0;
    for (int item : {13, 14, 15, 16})
        for (int heatCool : {0, 1})
            for (int outType : {0, 2})
                for (int inputType : {0, 31})
                    for (int p : {0, 30})
                        for (int pc : {0, 20})
                            for (int i : {0, 200})
                                for (int dd : {0, 50})
                                    for (int fresh : {0, 7}) {
                                        QmxData d;
                                        d.Set_Defaults();
                                        d.OptSet_HeatCool = int16_t(heatCool);
                                        d.OptSet_OutType = int16_t(outType);
                                        d.ParaVal(50) = int16_t(inputType);
                                        d.ParaVal(13) = int16_t(p);
                                        d.ParaVal(14) = int16_t(pc);
                                        d.ParaVal(15) = int16_t(i);
                                        d.ParaVal(16) = int16_t(dd);
                                        DisplayOps ops = layout(d);
                                        DisplayOps redrawn = ops;
                                        d.ParaVal(item) = int16_t(fresh);
                                        relayControlRows(d, item, ops);
                                        append(redrawn, layout(d));
                                        ASSERT_EQ(look(ops), look(redrawn))
                                            << "item " << item << " := " << fresh << " P " << p
                                            << " Pc " << pc << " I " << i << " D " << dd
                                            << " heat/cool " << heatCool << " out " << outType
                                            << " input " << inputType;
                                        ++checked;
                                    }
    EXPECT_EQ(checked, 4 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2);
}

TEST(ControlRows, OtherItemsReLayNothing)
{
    QmxData d;
    d.Set_Defaults();
    for (int item : {11, 12, 17, 24, 50, 66}) {
        DisplayOps ops;
        relayControlRows(d, item, ops);
        EXPECT_EQ(ops.size(), 0u) << item;
    }
}

TEST(ControlRows, ValueTextsOfBothGroups)
{
    setUiLanguage(Language::English);
    QmxData d;
    d.Set_Defaults();
    d.ParaVal(17) = 42;
    d.ParaVal(18) = 24;
    DisplayOps ops;
    PIDcheck(d, ops);
    PID_bcheck(d, ops);
    // One text per value label of the two groups and nothing else.
    EXPECT_EQ(ops.size(), 18u);
    EXPECT_EQ(finalState(ops, Ctl::Label_pidval, 5, Prop::Text).text.toStdString(), "42");
    EXPECT_EQ(finalState(ops, Ctl::Label_coolval, 2, Prop::Text).text.toStdString(), "24");
}
