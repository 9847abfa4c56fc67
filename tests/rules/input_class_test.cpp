// Whether an input type is a DC input, asked of every rule that depends on it: the pages' rows and
// units, the value texts and labels, the entry's limits and decimals, the list choice, the scaling
// limits, the download and the monitoring poll. They must all give the same answer, for the listed
// types and for a stored type no controller lists (from a set-data file).
#include "comm/download_chain.h"
#include "comm/monitor_table.h"
#include "model/items.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "model/value_text.h"
#include "register_table.h"
#include "rules/entry_range.h"
#include "rules/list_commit.h"
#include "rules/settings_pages.h"
#include "rules/value_labels.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace qmx;

namespace {

// A set whose texts show item 27's two decimals only where the DC decimal point applies.
QmxData withInputType(int t)
{
    QmxData d;
    d.Set_Defaults(); // P, I and D non-zero: PID control, the AT bias applies to temperatures
    d.ParaVal(50) = int16_t(t);
    d.ParaVal(27) = 2;
    d.ParaVal(11) = 1234;
    d.ParaVal(13) = 15;
    return d;
}

FinalState state(const DisplayOps& ops, Ctl c, int i, Prop p)
{
    return finalState(ops, c, i, p);
}

// Each rule's answer: is type `t` a DC input?
std::map<std::string, bool> answers(int t)
{
    std::map<std::string, bool> a;
    QmxData d = withInputType(t);

    SettingsPages pages;
    DisplayOps ops;
    PagesEffects fx;
    pages.Disp_SStab2(d, 0, ops, fx);
    a["pages: decimal-point row"] = state(ops, Ctl::Label_oth, 5, Prop::Visible).value == 1;
    a["pages: no AT bias row"] = state(ops, Ctl::Label_pid, 9, Prop::Visible).value == 0;
    a["pages: no temperature unit"] = state(ops, Ctl::Label_CF, 0, Prop::Text).text.isEmpty();
    a["pages: rate unit /min"] =
        state(ops, Ctl::Label_UD, 0, Prop::Text).text == LoadResString(337);
    a["pages: set value text"] = state(ops, Ctl::Text_SV, 1, Prop::Text).text == "12.34";

    a["value text: set value"] = Para_Text(d, 11) == "12.34";
    a["value text: P in tenths"] = Para_Text(d, 13) == "1.5" && !isOneDecimalInput(t);

    ops.clear();
    Read_data3(d, ops, nullptr);
    a["value labels: set value"] = state(ops, Ctl::Text_SV, 1, Prop::Text).text == "12.34";

    a["entry: set value text"] = entryValueText(d, 11, false, 1234) == QStringLiteral("12.34");
    const EntryRange p = Set_Range(d, 13, Limits{});
    a["entry: P to 100.0"] = p.ParaMax == 1000 && p.DecFlag;
    QmxData reversed = d; // scaling limits the wrong way round: only a DC input sorts them
    reversed.ParaVal(25) = -100;
    reversed.ParaVal(26) = 100;
    const EntryRange sv = Set_Range(reversed, 11, Limits{});
    a["entry: set value by sorted scaling"] = sv.ParaMin == -100 && sv.ParaMax == 100;

    // Chosen offline from another type (a type off the list stands stored, as a file brings it).
    QmxData offline = d;
    ops.clear();
    listCommit(offline, ListChoice{50, int16_t(t == 0 ? 1 : 0), -1}, ops);
    a["list choice: decimal-point row"] = state(ops, Ctl::Label_oth, 5, Prop::Visible).value == 1;
    a["list choice: DC scaling"] = offline.ParaVal(25) == 10000 && offline.ParaVal(26) == -2000;

    a["download: decimal point written"] = download::Check_Para(d, 27);
    bool polled = false;
    for (int step = 0; step < kMonitorSteps; ++step)
        polled = polled || monitorItem(step, 0, 0x10, t) == 63;
    a["monitoring: output on input abnormal"] = polled;
    return a;
}

} // namespace

TEST(InputClass, EveryRuleAgreesWhichTypesAreDc)
{
    setUiLanguage(Language::English);
    for (int t : {-32768, -1, 0, 1, 15, 29, 30, 35, 36, 99, 32767}) {
        // The listed DC inputs say so in their captions; a type the controller does not list has
        // no measuring range of its own and is scaled as the DC inputs are.
        const bool listed = t >= 0 && t < qmxsim::inputTypeCount(false);
        const bool dc = listed ? LoadResString(750 + t).contains(QLatin1String("DC")) : true;
        for (const auto& [rule, says] : answers(t))
            EXPECT_EQ(says, dc) << "type " << t << ", " << rule;
    }
}
