// The value texts of the PID and cooling groups, and which items re-lay their rows. That the rows
// come out as a reload of the same data shows them is judged on the window (setting_disp_test).
#include "rules/control_rows.h"

#include "model/qmx_data.h"
#include "model/string_table.h"

#include <gtest/gtest.h>

using namespace qmx;

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
