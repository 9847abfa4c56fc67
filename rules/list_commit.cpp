#include "rules/list_commit.h"

#include "model/items.h"
#include "model/value_text.h"
#include "rules/entry_range.h"
#include "rules/option_lists.h"
#include "rules/value_labels.h"

namespace qmx {

namespace {

void otherRow(DisplayOps& o, int row, int button, bool v)
{
    o.visible(Ctl::Label_oth, row, v);
    o.visible(Ctl::Label_othval, row, v);
    o.visible(Ctl::Cmd_set, button, v);
}

// The alarm rows of alarm 1 (item 36) or alarm 2 (item 37) with their units and set buttons.
void alarmRows(DisplayOps& o, int typeItem, bool v)
{
    const bool first = typeItem == 36;
    const Ctl cap = first ? Ctl::Label_Alm1 : Ctl::Label_Alm2;
    const Ctl val = first ? Ctl::Label_A1val : Ctl::Label_A2val;
    for (int r = 0; r < 4; ++r) {
        o.visible(cap, r, v);
        o.visible(val, r, v);
    }
    o.visible(Ctl::Label_CF, first ? 1 : 3, v);
    o.visible(Ctl::Label_CF, first ? 2 : 4, v);
    o.visible(Ctl::Label1, first ? 0 : 1, v);
    static constexpr int kButtons1[] = {9, 28, 30, 38};
    static constexpr int kButtons2[] = {10, 29, 31, 39};
    for (int b : first ? kButtons1 : kButtons2)
        o.visible(Ctl::Cmd_set, b, v);
}

// The value label of the item takes the caption of the option its value selects; a value outside
// the list leaves the label to the re-layout that follows.
void valueLabel(const QmxData& d, DisplayOps& o, int item)
{
    const auto label = valueLabelOf(item);
    const int frame = optionFrameOf(item);
    const int option = optionForValue(d, frame, d.ParaVal(item));
    if (label && option >= 0)
        o.text(label->ctl, label->index, optionCaption(d, frame, option));
}

} // namespace

void listCommit(QmxData& d, const ListChoice& c, DisplayOps& o)
{
    const int item = c.item;
    if (optionFrameOf(item) < 0)
        return;
    if (c.chosen >= 0)
        d.ParaVal(item) = static_cast<int16_t>(c.chosen);
    const int16_t now = d.ParaVal(item);
    const bool online = d.OnLine;

    switch (item) {
    case 12:
        if (c.chosen == 0)
            d.ATrun = false;
        if (!online)
            valueLabel(d, o, item);
        break;
    case 36:
    case 37:
        if (online) {
            d.ReUpload = true;
            break;
        }
        alarmRows(o, item, now != 0);
        valueLabel(d, o, item);
        if (c.old != now)
            d.ParaVal(item == 36 ? 19 : 20) = 0;
        break;
    case 46:
        if (!online)
            valueLabel(d, o, item);
        for (int i = 0; i <= 5; ++i)
            o.visible(Ctl::Manuval, i, now == 1);
        break;
    case item::kInputType: {
        // The units follow in the re-layout of the pages that ends the step.
        if (online) {
            d.ReUpload = true;
            break;
        }
        const bool dc = isDcInput(now, d.RDModel);
        otherRow(o, 5, 17, dc);
        // The output type comes from the option set on screen, which the model-option dialog
        // edits: reading it never needs that dialog.
        otherRow(o, 20, 53, dc && ((d.OptionBits2() & 0x10) != 0 || d.OptSet_OutType == 2));
        valueLabel(d, o, item);
        Limitchk_sh(d, c.old);
        break;
    }
    case 62:
        if (online)
            break;
        valueLabel(d, o, item);
        for (int k = 17; k <= 19; ++k) {
            const bool v = now == 0 || (now == 1 && k == 17);
            otherRow(o, k, k + 32, v);
            o.visible(Ctl::Label_CF, k - 3, v);
        }
        break;
    case 64:
        if (online)
            o.text(Ctl::Label_othval, 21, Para_Text(d, 64));
        else
            valueLabel(d, o, item);
        otherRow(o, 10, 35, now != 1);
        otherRow(o, 15, 36, now == 1);
        if (now != 1)
            o.text(Ctl::Label_othval, 10, Para_Text(d, 45));
        else
            o.text(Ctl::Label_othval, 15, Para_Text(d, 46));
        if (online)
            otherRow(o, 21, 54, true);
        break;
    default:
        if (!online)
            valueLabel(d, o, item);
        break;
    }
}

void Limitchk_sh(QmxData& d, int16_t oldType)
{
    const int t = d.ParaVal(item::kInputType);
    // The standard controller's rows serve the infrared variant's four types as well; a type the
    // model does not list is scaled as a DC input is.
    const auto range = isDcInput(t, d.RDModel) ? std::nullopt : standardInputRange(t);
    d.ParaVal(item::kScalingHigh) = range ? static_cast<int16_t>(range->max) : int16_t(10000);
    d.ParaVal(item::kScalingLow) = range ? static_cast<int16_t>(range->min) : int16_t(-2000);
    if (oldType == t)
        return;
    // The set values and alarm values no longer mean anything: they start again from 0, or from
    // the low end of the new range where it leaves 0 out (the infrared Fahrenheit types start at
    // 32.0), so each holds a value its entry would take.
    for (int i : {item::kSetValue, item::kSetValue2, item::kSetValue3, item::kSetValue4,
                  item::kAlarm1Value, item::kAlarm2Value}) {
        const EntryRange r = Set_Range(d, i, Limits{});
        d.ParaVal(i) = r.ParaMin <= 0 && 0 <= r.ParaMax ? int16_t(0) : r.ParaMin;
    }
}

} // namespace qmx
