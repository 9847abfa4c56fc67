// Whether an input type is a DC input, asked of every place that decides it: the pages' rows and
// units, the value texts and labels, the entry, the list choice, the download and the monitoring
// poll. They must all give the same answer, for the listed types and for a stored type no
// controller lists (from a set-data file).
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

// Each place's answer: is type `t` a DC input?
std::map<std::string, bool> answers(int t)
{
    // PID control (the AT bias applies to temperatures); the DC decimal point at two decimals.
    QmxData d;
    d.Set_Defaults();
    d.ParaVal(50) = int16_t(t);
    d.ParaVal(27) = 2;
    d.ParaVal(11) = 1234;
    d.ParaVal(13) = 15;

    std::map<std::string, bool> a;
    SettingsPages pages;
    DisplayOps ops;
    PagesEffects fx;
    pages.Disp_SStab2(d, 0, ops, fx);
    a["pages: decimal-point row"] = finalState(ops, Ctl::Label_oth, 5, Prop::Visible).value == 1;
    a["pages: no AT bias row"] = finalState(ops, Ctl::Label_pid, 9, Prop::Visible).value == 0;
    a["pages: no temperature unit"] = finalState(ops, Ctl::Label_CF, 0, Prop::Text).text.isEmpty();

    a["value text: set value"] = Para_Text(d, 11) == "12.34";
    a["value text: P in tenths"] = Para_Text(d, 13) == "1.5" && !isOneDecimalInput(t, false);
    ops.clear();
    Read_data3(d, ops, nullptr);
    a["value labels: set value"] = finalState(ops, Ctl::Text_SV, 1, Prop::Text).text == "12.34";
    a["entry: set value text"] = entryValueText(d, 11, false, 1234) == QStringLiteral("12.34");
    const EntryRange p = Set_Range(d, 13, Limits{});
    a["entry: P to 100.0"] = p.ParaMax == 1000 && p.DecFlag;

    a["download: decimal point written"] = download::Check_Para(d, 27);
    bool polled = false;
    for (int step = 0; step < kMonitorSteps; ++step)
        polled = polled || monitorItem(step, 0, 0x10, t, false) == 63;
    a["monitoring: output on input abnormal"] = polled;
    // Chosen offline from another type (a type off the list stands stored, as a file brings it).
    ops.clear();
    listCommit(d, ListChoice{50, int16_t(t == 0 ? 1 : 0), -1}, ops);
    a["list choice: decimal-point row"] =
        finalState(ops, Ctl::Label_oth, 5, Prop::Visible).value == 1;
    a["list choice: DC scaling"] = d.ParaVal(25) == 10000 && d.ParaVal(26) == -2000;

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
