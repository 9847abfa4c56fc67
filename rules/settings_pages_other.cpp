// The "other" pages, the manual-output buttons and the rows that depend on the model.
#include "rules/settings_pages.h"

#include "model/items.h"
#include "model/string_table.h"
#include "model/value_text.h"

namespace qmx {

namespace {

void otherRow(DisplayOps& o, int k, bool v)
{
    o.visible(Ctl::Label_oth, k, v);
    o.visible(Ctl::Label_othval, k, v);
}

void otherText(const QmxData& d, DisplayOps& o, int k, int item)
{
    o.text(Ctl::Label_othval, k, Para_Text(d, item));
}

} // namespace

void SettingsPages::others(QmxData& d, DisplayOps& o, PagesEffects& fx)
{
    static constexpr int first[5] = {22, 23, 50, 25, 26};
    for (int k = 0; k < 5; ++k)
        otherText(d, o, k, first[k]);

    const bool dcInput = isDcInput(d.ParaVal(item::kInputType), d.RDModel);
    otherRow(o, 5, dcInput);
    o.visible(Ctl::Cmd_set, 17, dcInput);
    if (dcInput)
        otherText(d, o, 5, 27);

    bool leave = false;
    const QString rate = rateUnitText(d, &leave);
    if (!leave) {
        o.text(Ctl::Label_UD, 0, rate);
        o.text(Ctl::Label_UD, 1, rate);
    }

    static constexpr int mid[4] = {28, 43, 44, 51};
    for (int k = 0; k < 4; ++k)
        otherText(d, o, 6 + k, mid[k]);

    const bool autoManKey = d.ParaVal(64) == 1;
    otherRow(o, 10, !autoManKey);
    o.visible(Ctl::Cmd_set, 35, !autoManKey);
    otherRow(o, 15, autoManKey);
    o.visible(Ctl::Cmd_set, 36, autoManKey);
    if (autoManKey) {
        otherText(d, o, 15, 46);
        otherText(d, o, 21, 64);
    } else {
        otherText(d, o, 10, 45);
        otherText(d, o, 15, 46);
    }

    static constexpr int look[4] = {55, 56, 57, 58};
    for (int k = 0; k < 4; ++k)
        otherText(d, o, 11 + k, look[k]);
    otherText(d, o, 16, 42);

    // Set values 2 to 4 come with the contact input, which excludes serial communication.
    auto svRows = [&o](int k, bool v) {
        otherRow(o, k, v);
        o.visible(Ctl::Label_CF, k - 3, v);
        o.visible(Ctl::Cmd_set, k + 32, v); // rows 17..19: Cmd_set(49..51)
    };
    if (d.OptSet_Comm == 0 && d.OptSet_SVsel == 1) {
        const int contact = d.ParaVal(62);
        svRows(17, contact == 0 || contact == 1);
        svRows(18, contact == 0);
        svRows(19, contact == 0);
        if (contact == 0 || contact == 1)
            otherText(d, o, 17, 59);
        if (contact == 0) {
            otherText(d, o, 18, 60);
            otherText(d, o, 19, 61);
        }
        otherRow(o, 22, true);
        o.visible(Ctl::Cmd_set, 52, true);
        otherText(d, o, 22, 62);
    } else {
        for (int k = 17; k <= 19; ++k)
            svRows(k, false);
        otherRow(o, 22, false);
        o.visible(Ctl::Cmd_set, 52, false);
    }

    // Manual output and the state caption beside it.
    const bool manual = d.ParaVal(46) == 1;
    if (autoManKey && manual) {
        for (int i = 0; i <= 5; ++i)
            o.visible(Ctl::Manuval, i, true);
        o.text(Ctl::Label_OUTOFF, LoadResString(320));
        if (!ManualShown) {
            ManualShown = true;
            d.ParaVal(46) = 1;
            fx.selectOptionManu = 1;
            o.text(Ctl::Label_othval, 15, LoadResString(320));
        }
    } else if (autoManKey) {
        for (int i = 0; i <= 5; ++i)
            o.visible(Ctl::Manuval, i, false);
        o.text(Ctl::Label_OUTOFF, LoadResString(319));
        if (ManualShown) {
            ManualShown = false;
            d.ParaVal(46) = 0;
            fx.selectOptionManu = 0;
            o.text(Ctl::Label_othval, 15, LoadResString(319));
        }
    } else {
        for (int i = 0; i <= 5; ++i)
            o.visible(Ctl::Manuval, i, false);
        o.text(Ctl::Label_OUTOFF, LoadResString(327));
        const bool off = d.ParaVal(45) == 1;
        o.colour(Ctl::Label_OUTOFF, off ? colour::White : colour::LightGreen);
        o.text(Ctl::Label5, LoadResString(off ? 321 : 322));
    }

    const bool abnormalRow = dcInput && d.OptSet_OutType == 2;
    otherRow(o, 20, abnormalRow);
    o.visible(Ctl::Cmd_set, 53, abnormalRow);
    if (abnormalRow)
        otherText(d, o, 20, 63);
    otherText(d, o, 21, 64);
}

void SettingsPages::modelRows(const QmxData& d, DisplayOps& o, PagesEffects& fx)
{
    if (!d.OnLine && d.OptSet_HeatCool == 0)
        fx.clearMv2Caption = true;
    if (d.RDModel) {
        for (int k : {3, 4, 5})
            otherRow(o, k, false);
        for (int b : {15, 16, 17})
            o.visible(Ctl::Cmd_set, b, false);
        o.visible(Ctl::Label_CF, 11, false);
        o.visible(Ctl::Label_CF, 12, false);
        otherRow(o, 23, true);
        o.visible(Ctl::Cmd_set, 56, true);
        otherText(d, o, 23, 66);
        return;
    }
    otherRow(o, 3, true);
    otherRow(o, 4, true);
    o.visible(Ctl::Cmd_set, 15, true);
    o.visible(Ctl::Cmd_set, 16, true);
    o.visible(Ctl::Label_CF, 11, true);
    o.visible(Ctl::Label_CF, 12, true);
    const bool dcInput = isDcInput(d.ParaVal(item::kInputType), d.RDModel);
    otherRow(o, 5, dcInput);
    o.visible(Ctl::Cmd_set, 17, dcInput);
    otherRow(o, 23, false);
    o.visible(Ctl::Cmd_set, 56, false);
}

} // namespace qmx
