// Whether an input type is a DC input, asked of every place that decides it: the pages' rows and
// units, the value texts and labels, the entry, the list choice, the download and the monitoring
// poll. They must all give the same answer, on the standard controller and on the infrared variant,
// for the listed types and for a stored type the variant does not list (from a set-data file).
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

// The caption the variant's list gives type `t`; none for a type it does not list.
QString caption(int t, bool infrared)
{
    if (t < 0 || t >= qmxsim::inputTypeCount(infrared))
        return QString();
    return LoadResString((infrared ? 797 : 750) + t);
}

// Each place's answer: is type `t` a DC input? The infrared variant shows its set values and bands
// with one decimal whatever the type, so the value texts and the entry's text tell nothing there
// and are asked on the standard controller only.
std::map<std::string, bool> answers(int t, bool infrared)
{
    // PID control (the AT bias applies to temperatures); the DC decimal point at two decimals; a
    // DC current output, with the controller saying so (the row and read of item 63).
    QmxData d;
    d.Set_Defaults();
    d.RDModel = infrared;
    d.ParaVal(50) = int16_t(t);
    d.ParaVal(27) = 2;
    d.ParaVal(11) = 1234;
    d.ParaVal(13) = 15;
    d.OptSet_OutType = 2;
    d.MonVal(8) = 0x10;

    std::map<std::string, bool> a;
    SettingsPages pages;
    DisplayOps ops;
    PagesEffects fx;
    pages.Disp_SStab2(d, 0, ops, fx);
    a["pages: no AT bias row"] = finalState(ops, Ctl::Label_pid, 9, Prop::Visible).value == 0;
    a["pages: row of item 63"] = finalState(ops, Ctl::Label_oth, 20, Prop::Visible).value == 1;
    a["pages: no temperature unit"] = finalState(ops, Ctl::Label_CF, 0, Prop::Text).text.isEmpty();
    // The infrared variant hides the decimal-point row whatever the type.
    if (!infrared)
        a["pages: decimal-point row"] =
            finalState(ops, Ctl::Label_oth, 5, Prop::Visible).value == 1;
    ops.clear();
    Read_data3(d, ops, nullptr);
    a["value labels: set value"] = finalState(ops, Ctl::Text_SV, 1, Prop::Text).text == "12.34";
    const EntryRange p = Set_Range(d, 13, Limits{});
    a["entry: P to 100.0"] = p.ParaMax == 1000 && p.DecFlag;
    a["entry: no AT bias"] = Set_Range(d, 52, Limits{}).ParaMax == 0;

    a["download: decimal point written"] = download::Check_Para(d, 27);
    a["download: AT bias not written"] = !download::Check_Para(d, 52);
    a["download: output on input abnormal written"] = download::Check_Para(d, 63);
    bool polled = false;
    for (int step = 0; step < kMonitorSteps; ++step)
        polled = polled || monitorItem(step, 0, 0x10, t, infrared) == 63;
    a["monitoring: output on input abnormal"] = polled;

    if (!infrared) {
        a["value text: set value"] = Para_Text(d, 11) == "12.34";
        // The one-decimal temperature types show their band in tenths too.
        a["value text: P in tenths"] =
            Para_Text(d, 13) == "1.5" && !caption(t, false).contains(QLatin1String(".0 "));
        a["entry: set value text"] = entryValueText(d, 11, false, 1234) == QStringLiteral("12.34");
    } else {
        // Its listed types all carry tenths; a type it lacks has no range to count them in.
        a["entry: PV colour range whole"] = !Set_Range(d, 57, Limits{}).DecFlag;
    }

    // Chosen offline from another type (a type off the list stands stored, as a file brings it).
    ops.clear();
    listCommit(d, ListChoice{50, int16_t(t == 0 ? 1 : 0), -1}, ops);
    a["list choice: decimal-point row"] =
        finalState(ops, Ctl::Label_oth, 5, Prop::Visible).value == 1;
    a["list choice: row of item 63"] =
        finalState(ops, Ctl::Label_oth, 20, Prop::Visible).value == 1;
    a["list choice: DC scaling"] = d.ParaVal(25) == 10000 && d.ParaVal(26) == -2000;

    return a;
}

} // namespace

TEST(InputClass, EveryRuleAgreesWhichTypesAreDc)
{
    setUiLanguage(Language::English);
    for (bool infrared : {false, true}) {
        for (int t : {-32768, -1, 0, 1, 2, 3, 4, 5, 15, 29, 30, 35, 36, 99, 32767}) {
            // The listed DC inputs say so in their captions, the temperature types name their
            // range; a type the variant does not list has no measuring range of its own and is
            // scaled as the DC inputs are.
            const QString c = caption(t, infrared);
            const bool dc = c.isEmpty() || c.contains(QLatin1String("DC"));
            for (const auto& [rule, says] : answers(t, infrared))
                EXPECT_EQ(says, dc)
                    << (infrared ? "infrared" : "standard") << " type " << t << ", " << rule;
        }
    }
}

// The standard types counted in tenths are those whose captions give their range in tenths. The
// infrared variant's four types are all in tenths by the variant itself and are not asked; any
// other number is no temperature type there, whatever it means on the standard controller.
TEST(InputClass, OneDecimalTypesAreTheTypesCaptionedInTenths)
{
    setUiLanguage(Language::English);
    for (bool infrared : {false, true})
        for (int t = -1; t <= 36; ++t) {
            if (infrared && isListedInput(t, true))
                continue;
            EXPECT_EQ(isOneDecimalInput(t, infrared),
                      caption(t, infrared).contains(QLatin1String(".0 ")))
                << (infrared ? "infrared" : "standard") << " type " << t;
        }
}
