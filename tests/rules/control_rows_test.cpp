// After an offline change of P, cooling P, I or D the PID and cooling rows look exactly as the
// window redrawn from the same data shows them (as a reload of that data does).
#include "rules/control_rows.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/settings_pages.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace qmx;

namespace {

// The final state of every control a list touches: hidden, or shown with its text (nobody reads
// a hidden control's text).
std::map<std::string, std::string> look(const std::vector<const DisplayOps*>& lists)
{
    std::map<std::string, std::pair<int, QString>> state; // visibility (-1 unknown), text
    for (const DisplayOps* ops : lists) {
        for (const DisplayOp& op : ops->ops()) {
            // A char: GCC 12 falsely warns of an overlapping copy in a literal + string.
            const std::string key = ctlName(op.ctl) + ('(' + std::to_string(op.index) + ')');
            auto& s = state.try_emplace(key, -1, QString()).first->second;
            if (op.prop == Prop::Visible)
                s.first = int(op.value);
            else if (op.prop == Prop::Text)
                s.second = op.text;
        }
    }
    std::map<std::string, std::string> out;
    for (const auto& [key, s] : state)
        out[key] = s.first == 0 ? "hidden" : s.second.toStdString();
    return out;
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

// Every combination of heating/cooling, output type, a temperature or DC input, and P, Pc, I, D
// each zero or not, for each of the four items set to zero or not.
TEST(ControlRows, OfflineChangeLooksLikeAFreshLayout)
{
    setUiLanguage(Language::English);
    for (int item : {13, 14, 15, 16}) {
        for (int bits = 0; bits < (1 << 8); ++bits) {
            auto on = [bits](int bit) { return (bits >> bit & 1) != 0; };
            QmxData d;
            d.Set_Defaults();
            d.OptSet_HeatCool = on(0) ? 1 : 0;
            d.OptSet_OutType = on(1) ? 2 : 0;
            d.ParaVal(50) = on(2) ? 31 : 0;
            d.ParaVal(13) = on(3) ? 30 : 0;
            d.ParaVal(14) = on(4) ? 20 : 0;
            d.ParaVal(15) = on(5) ? 200 : 0;
            d.ParaVal(16) = on(6) ? 50 : 0;
            const DisplayOps before = layout(d);
            d.ParaVal(item) = on(7) ? 7 : 0;
            DisplayOps relaid;
            relayControlRows(d, item, relaid);
            const DisplayOps after = layout(d);
            ASSERT_EQ(look({&before, &relaid}), look({&before, &after}))
                << "item " << item << " case " << bits;
        }
    }
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
