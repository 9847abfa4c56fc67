#include "rules/settings_pages.h"

#include "model/items.h"
#include "model/option_set.h"
#include "model/string_table.h"
#include "model/value_text.h"

namespace qmx {

namespace {

QString S(int id)
{
    return LoadResString(id);
}

// A row is its caption and value labels; they appear and disappear together.
void row(DisplayOps& o, Ctl caption, Ctl value, int i, bool v)
{
    o.visible(caption, i, v);
    o.visible(value, i, v);
}

void buttons(DisplayOps& o, std::initializer_list<int> idx, bool v)
{
    for (int i : idx)
        o.visible(Ctl::Cmd_set, i, v);
}

void disable(DisplayOps& o, std::initializer_list<int> idx)
{
    for (int i : idx)
        o.enabled(Ctl::Cmd_set, i, false);
}

} // namespace

bool setButtonShown(const QmxData& d, int item)
{
    QmxData laid = d; // a layout settles some values of its own (auto/manual)
    SettingsPages pages;
    DisplayOps ops;
    PagesEffects fx;
    pages.Disp_SStab2(laid, 0, ops, fx);
    const FinalState shown = finalState(ops, Ctl::Cmd_set, item - 10, Prop::Visible);
    return !shown.known || shown.value != 0;
}

QString rateUnitText(const QmxData& d, bool* leaveUnchanged)
{
    const int c = d.ParaVal(item::kInputType);
    *leaveUnchanged = false;
    if (isCelsiusInput(c, d.RDModel))
        return S(335);
    if (isFahrenheitInput(c, d.RDModel))
        return S(336);
    if (d.RDModel) {
        *leaveUnchanged = true;
        return QString();
    }
    return S(337);
}

namespace {

void rateUnits(const QmxData& d, DisplayOps& o)
{
    bool leave = false;
    const QString t = rateUnitText(d, &leave);
    if (leave)
        return;
    o.text(Ctl::Label_UD, 0, t);
    o.text(Ctl::Label_UD, 1, t);
}

// Alarm 1 or alarm 2 rows by the alarm type: type 0 shows only the type row.
void alarmRows(const QmxData& d, DisplayOps& o, Ctl cap, Ctl val, const int items[5],
               const int btn[5], int cf1, int cf2, int sec)
{
    const bool any = d.ParaVal(items[4]) != 0;
    for (int r = 0; r < 4; ++r) {
        row(o, cap, val, r, any);
        o.visible(Ctl::Cmd_set, btn[r], any);
    }
    o.visible(Ctl::Cmd_set, btn[4], true);
    o.visible(Ctl::Label_CF, cf1, any);
    o.visible(Ctl::Label_CF, cf2, any);
    o.visible(Ctl::Label1, sec, any);
    if (!any) {
        o.text(val, 4, Para_Text(d, items[4]));
        return;
    }
    for (int r = 0; r < 5; ++r)
        o.text(val, r, Para_Text(d, items[r]));
}

} // namespace

void SettingsPages::unitsAndAlarms(const QmxData& d, DisplayOps& o)
{
    o.visible(Ctl::SSTab2, true);

    // Temperature units by input type; the infrared variant leaves them for a type it lacks.
    const int c = d.ParaVal(item::kInputType);
    QString unit;
    bool setAll = !d.RDModel;
    if (isCelsiusInput(c, d.RDModel)) {
        unit = S(215);
        setAll = true;
    } else if (isFahrenheitInput(c, d.RDModel)) {
        unit = S(216);
        setAll = true;
    }
    if (setAll)
        for (int i = 0; i <= 17; ++i)
            o.text(Ctl::Label_CF, i, unit);
    if (d.RDModel || unit.isEmpty())
        o.text(Ctl::Label_CF, 5, QStringLiteral("%"));

    rateUnits(d, o);
    o.text(Ctl::Text_SV, 1, Para_Text(d, item::kSetValue));

    static constexpr int a1Items[5] = {19, 38, 40, 48, 36};
    static constexpr int a1Btn[5] = {9, 28, 30, 38, 26};
    static constexpr int a2Items[5] = {20, 39, 41, 49, 37};
    static constexpr int a2Btn[5] = {10, 29, 31, 39, 27};
    alarmRows(d, o, Ctl::Label_Alm1, Ctl::Label_A1val, a1Items, a1Btn, 1, 2, 0);

    const bool alarm2 = d.OptSet_Alarm2 == 1;
    o.visible(Ctl::lbl_alm, 1, alarm2);
    o.visible(Ctl::Frame_Alarm2, alarm2);
    o.visible(Ctl::Cmd_True, 1, alarm2);
    if (alarm2)
        alarmRows(d, o, Ctl::Label_Alm2, Ctl::Label_A2val, a2Items, a2Btn, 3, 4, 1);
    else
        disable(o, {10, 27, 29, 31, 39});
}

void SettingsPages::heaterBurnout(const QmxData& d, DisplayOps& o)
{
    const int hb = d.OptSet_HB;
    auto currentRow = [&o](int n, bool v) { // n = 1 or 2
        o.visible(Ctl::Text_HB, n, v);
        o.visible(Ctl::Label_HB, n + 1, v);
    };
    auto settingRow = [&o](int n, bool v) { // n = 0 or 1
        o.visible(Ctl::Label_Alm_HB, n, v);
        o.visible(Ctl::Label_HBval, n, v);
        o.visible(Ctl::Label_HB, n, v);
    };
    if (hb == 0) {
        o.visible(Ctl::Frame_HB, false);
        o.visible(Ctl::Cmd_True, 2, false);
        o.visible(Ctl::lbl_alm, 4, false);
        disable(o, {11, 44});
        o.visible(Ctl::Lbl_HB, 0, false);
        o.visible(Ctl::Lbl_HB, 1, false);
        currentRow(1, false);
        currentRow(2, false);
        return;
    }
    o.visible(Ctl::Frame_HB, true);
    o.visible(Ctl::Cmd_True, 2, true);
    settingRow(0, true);
    o.visible(Ctl::Lbl_HB, 0, true);
    o.visible(Ctl::lbl_alm, 4, true);
    if (!isHeaterBurnoutOption(hb))
        return; // an option word from a file that no controller has: the group's common part only
    if (!isThreePhaseOption(hb)) {
        settingRow(1, false);
        o.visible(Ctl::Lbl_HB, 1, false);
        currentRow(1, true);
        currentRow(2, false);
        o.visible(Ctl::Cmd_set, 11, true);
        o.visible(Ctl::Cmd_set, 44, false);
        // The 50 A transformer: online the controller's option word tells; offline the option
        // set on screen does, so the caption never contradicts what the operator declared.
        const bool fifty = d.OnLine ? (d.OptionBits() & 0x08) != 0 : isFiftyAmpOption(hb);
        o.text(Ctl::Label_Alm_HB, 0, S(fifty ? 155 : 111));
        o.text(Ctl::Label_HBval, 0, Para_Text(d, item::kHeaterAlarm1));
        o.text(Ctl::Text_HB, 1, Para_Text(d, item::kHeaterCurrent1));
        return;
    }
    settingRow(1, true);
    o.visible(Ctl::Lbl_HB, 1, true);
    // Both settings have their set button, also after a single-phase layout hid the second one;
    // whether they can be pressed stays the group button's business.
    o.visible(Ctl::Cmd_set, 11, true);
    o.visible(Ctl::Cmd_set, 44, true);
    const bool fifty = isFiftyAmpOption(hb);
    o.text(Ctl::Label_Alm_HB, 0, S(fifty ? 155 : 111));
    o.text(Ctl::Label_Alm_HB, 1, S(fifty ? 156 : 143));
    o.colour(Ctl::lbl_alm, 4, (d.StatusBits() & 0x40) ? colour::Red : colour::White);
    o.text(Ctl::Label_HBval, 0, Para_Text(d, item::kHeaterAlarm1));
    o.text(Ctl::Label_HBval, 1, Para_Text(d, item::kHeaterAlarm2));
    currentRow(1, true);
    currentRow(2, true);
    o.text(Ctl::Text_HB, 1, Para_Text(d, item::kHeaterCurrent1));
    o.text(Ctl::Text_HB, 2, Para_Text(d, item::kHeaterCurrent2));
}

PageSource pageSourceOf(const QmxData& d)
{
    PageSource s;
    for (int i = kFirstPara; i <= kLastPara; ++i)
        s.values[size_t(i - kFirstPara)] = d.ParaVal(i);
    s.optionSet = {d.OptSet_Alarm2, d.OptSet_HeatCool, d.OptSet_HB,
                   d.OptSet_SVsel,  d.OptSet_OutType,  d.OptSet_Comm};
    s.statusAndOptions = {d.StatusBits(), d.OptionBits(), d.OptionBits2()};
    s.infrared = d.RDModel;
    return s;
}

void SettingsPages::Disp_SStab2(QmxData& d, int /*tab*/, DisplayOps& o, PagesEffects& fx)
{
    unitsAndAlarms(d, o);
    heaterBurnout(d, o);
    heating(d, o);
    cooling(d, o);
    others(d, o, fx);
    modelRows(d, o, fx);
}

void SettingsPages::heating(const QmxData& d, DisplayOps& o)
{
    const Ctl cap = Ctl::Label_pid, val = Ctl::Label_pidval;
    const bool p = d.ParaVal(item::kProportionalBand) != 0;
    const bool i = d.ParaVal(item::kIntegralTime) != 0;
    const bool dd = d.ParaVal(item::kDerivativeTime) != 0;
    const bool dcInput = isDcInput(d.ParaVal(item::kInputType), d.RDModel);
    o.text(val, 1, Para_Text(d, 13));
    if (!p) { // ON/OFF control
        o.visible(Ctl::Label_atm, false);
        for (int r = 0; r <= 10; ++r)
            row(o, cap, val, r, r == 1 || r == 8 || r == 10);
        for (int k = 2; k <= 4; ++k)
            o.visible(Ctl::Label1, k, false);
        for (int k = 0; k <= 2; ++k)
            o.visible(Ctl::Label21, k, false);
        o.visible(Ctl::Label_CF, 5, true);
        o.visible(Ctl::Label_CF, 6, true);
        o.visible(Ctl::lbl_OUT, true);
        o.visible(Ctl::Label_CF, 7, false);
        buttons(o, {21, 55}, true);
        buttons(o, {2, 5, 6, 7, 19, 20, 42, 43}, false);
        o.text(val, 8, Para_Text(d, 31));
        o.text(val, 10, Para_Text(d, 65));
        return;
    }
    const bool outDc = d.OptSet_OutType == 2;
    for (int r = 0; r <= 10; ++r) {
        switch (r) {
        case 0:
            if (i && dd) {
                o.visible(Ctl::Label_atm, true);
                o.text(Ctl::Label_atm, S(102));
                row(o, cap, val, 0, true);
                o.text(cap, 0, S(151));
                o.text(val, 0, Para_Text(d, 12));
                buttons(o, {2, 43}, true);
            } else if (!i) {
                o.visible(Ctl::Label_atm, true);
                o.text(Ctl::Label_atm, S(100));
                row(o, cap, val, 0, true);
                o.text(cap, 0, S(152));
                o.text(val, 0, Para_Text(d, 12));
                buttons(o, {2}, true);
                buttons(o, {43}, false);
            } else {
                o.visible(Ctl::Label_atm, false);
                row(o, cap, val, 0, false);
                buttons(o, {2, 43}, false);
            }
            break;
        case 4:
            row(o, cap, val, 4, i && dd);
            buttons(o, {43}, i && dd);
            if (i && dd)
                o.text(val, 4, Para_Text(d, 53));
            break;
        case 5:
            row(o, cap, val, 5, !outDc);
            o.visible(Ctl::Label1, 4, !outDc);
            buttons(o, {7}, !outDc);
            if (!outDc)
                o.text(val, 5, Para_Text(d, 17));
            break;
        case 8:
            row(o, cap, val, 8, false);
            buttons(o, {21}, false);
            o.visible(Ctl::Label_CF, 6, false);
            break;
        case 9:
            row(o, cap, val, 9, !dcInput);
            buttons(o, {42}, !dcInput);
            o.visible(Ctl::Label_CF, 7, !dcInput);
            break;
        case 10:
            row(o, cap, val, 10, true);
            buttons(o, {55}, true);
            o.visible(Ctl::lbl_OUT, true);
            o.text(val, 10, Para_Text(d, 65));
            break;
        default: // 1, 2, 3, 6, 7
            row(o, cap, val, r, true);
            break;
        }
    }
    const bool pid = p && i && dd;
    o.visible(Ctl::Label1, 2, true);
    o.visible(Ctl::Label1, 3, true);
    o.visible(Ctl::Label21, 0, true);
    o.visible(Ctl::Label21, 1, true);
    o.visible(Ctl::Label21, 2, pid);
    o.visible(Ctl::Label_CF, 5, true);
    o.visible(Ctl::Label_CF, 6, false);
    buttons(o, {3, 5, 6, 19, 20}, true);
    buttons(o, {21}, false);
    buttons(o, {42}, pid);
    o.text(val, 2, Para_Text(d, 15));
    o.text(val, 3, Para_Text(d, 16));
    o.text(val, 4, Para_Text(d, 53));
    buttons(o, {7}, !outDc);
    o.text(val, 6, Para_Text(d, 29));
    o.text(val, 7, Para_Text(d, 30));
    // The AT bias applies to PID control of a temperature input only.
    const bool bias = !dcInput && pid;
    buttons(o, {42}, bias);
    row(o, cap, val, 9, bias);
    o.visible(Ctl::Label_CF, 7, bias);
    if (bias)
        o.text(val, 9, Para_Text(d, 52));
}

void SettingsPages::cooling(const QmxData& d, DisplayOps& o)
{
    const Ctl cap = Ctl::Label_cool, val = Ctl::Label_coolval;
    if (d.OptSet_HeatCool != 1) {
        o.visible(Ctl::Label58, false);
        o.visible(Ctl::Text_MV, 1, false);
        o.visible(Ctl::Label18, 1, false);
        o.visible(Ctl::Frame_Cool, false);
        o.visible(Ctl::Cmd_True, 4, false);
        static constexpr int items[7] = {32, 14, 18, 33, 34, 24, 35};
        for (int r = 0; r < 7; ++r)
            o.text(val, r, Para_Text(d, items[r]));
        disable(o, {4, 8, 14, 22, 23, 24, 25});
        return;
    }
    const bool p = d.ParaVal(item::kProportionalBand) != 0;
    const bool pc = d.ParaVal(item::kCoolingBand) != 0;
    o.visible(Ctl::Label58, true);
    o.visible(Ctl::Text_MV, 1, true);
    o.visible(Ctl::Label18, 1, true);
    o.visible(Ctl::Frame_Cool, true);
    o.visible(Ctl::Cmd_True, 4, true);
    row(o, cap, val, 0, true);
    if (p && pc)
        o.text(val, 0, Para_Text(d, 32));
    else
        row(o, cap, val, 0, false);
    buttons(o, {22}, p && pc);

    auto units = [&o](bool seconds, bool cf9) {
        o.visible(Ctl::Label1, 5, seconds);
        o.visible(Ctl::Label21, 3, seconds);
        o.visible(Ctl::Label21, 4, seconds);
        o.visible(Ctl::Label_CF, 8, true);
        o.visible(Ctl::Label_CF, 9, cf9);
    };
    if (!p) {
        for (int r = 1; r <= 6; ++r)
            row(o, cap, val, r, r >= 5);
        units(false, true);
        buttons(o, {14, 25}, true);
        buttons(o, {4, 8, 23, 24}, false);
        o.text(val, 5, Para_Text(d, 24));
        o.text(val, 6, Para_Text(d, 35));
    } else if (!pc) {
        for (int r = 1; r <= 6; ++r)
            row(o, cap, val, r, r == 1 || r >= 5);
        units(false, true);
        buttons(o, {4, 14, 25}, true);
        buttons(o, {8, 23, 24}, false);
        o.text(val, 1, Para_Text(d, 14));
        o.text(val, 5, Para_Text(d, 24));
        o.text(val, 6, Para_Text(d, 35));
    } else {
        for (int r = 1; r <= 6; ++r)
            row(o, cap, val, r, r <= 5);
        units(true, false);
        buttons(o, {4, 8, 23, 24, 14}, true);
        buttons(o, {25}, false);
        static constexpr int items[5] = {14, 18, 33, 34, 24};
        for (int r = 1; r <= 5; ++r)
            o.text(val, r, Para_Text(d, items[r - 1]));
    }
}

} // namespace qmx
