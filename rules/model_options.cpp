#include "rules/model_options.h"

#include "model/items.h"
#include "model/option_set.h"
#include "model/qmx_data.h"

namespace qmx {

namespace {

constexpr int kCounts[kOptionGroups] = {2, 2, 5, 2, 3, 2};

void setGroup(OpsetPanel& p, int g, bool on)
{
    p.frameEnabled[size_t(g)] = on;
    for (int k = 0; k < kCounts[g]; ++k)
        p.optionEnabled[size_t(g)][size_t(k)] = on;
}

struct Verdict {
    int message = 0;  // 0: accepted
    int fallback = 0; // the option selected instead of a refused one
};

// The rule of one group for a newly selected option `k`. It looks at what the other groups have
// selected, never at the option words, so a selection made by the program is tested like a click.
Verdict rule(OpsetPanel& p, int g, int k)
{
    const auto& sel = p.selected;
    const bool heatCool = sel[HeatCool] == 1;
    const bool alarm2 = sel[Alarm2] == 1;
    const bool heaterBurnout = sel[HeaterBurnout] != 0;
    const bool dcCurrent = sel[OutputType] == 2;
    switch (g) {
    case Alarm2:
        if (k == 1) {
            if (heatCool)
                return {285};
            setGroup(p, HeatCool, false);
        } else {
            setGroup(p, HeatCool, !heaterBurnout);
        }
        break;
    case HeatCool:
        if (k == 1) {
            if (alarm2 || heaterBurnout)
                return {286};
            setGroup(p, Alarm2, false);
            setGroup(p, HeaterBurnout, false);
        } else {
            setGroup(p, Alarm2, true);
            setGroup(p, HeaterBurnout, !dcCurrent);
        }
        break;
    case HeaterBurnout:
        if (k != 0) {
            if (heatCool)
                return {287};
            if (dcCurrent)
                return {293};
            setGroup(p, HeatCool, false);
            p.optionEnabled[OutputType][2] = false;
        } else {
            setGroup(p, HeaterBurnout, true);
            setGroup(p, OutputType, true);
            setGroup(p, HeatCool, !alarm2);
        }
        break;
    case SvSelect:
        if (k == 1) {
            if (sel[SerialComm] == 1)
                return {288};
            setGroup(p, SerialComm, false);
        } else {
            setGroup(p, SerialComm, true);
        }
        break;
    case OutputType:
        if (k == 2) {
            if (heaterBurnout) {
                // Back to the output type in force. A set that already holds DC current together
                // with heater burnout (from a file or the controller) has none to go back to:
                // relay contact then, as for a stored word outside the list.
                const int before = p.words[OutputType];
                return {284, before == 0 || before == 1 ? before : 0};
            }
            setGroup(p, HeaterBurnout, false);
        } else {
            setGroup(p, HeaterBurnout, !heatCool);
        }
        break;
    case SerialComm:
        if (k == 1) {
            if (sel[SvSelect] == 1)
                return {289};
            setGroup(p, SvSelect, false);
        } else {
            setGroup(p, SvSelect, true);
        }
        break;
    default:
        break;
    }
    p.words[size_t(g)] = int16_t(k);
    return {};
}

} // namespace

int optionCount(int g)
{
    return g >= 0 && g < kOptionGroups ? kCounts[g] : 0;
}

int groupCaption(int g)
{
    return 178 + g;
}

int optionCaption(int g, int k)
{
    if (g == HeaterBurnout)
        return k == 0 ? 184 : 185 + k; // 186..189: single phase 20 A .. 3-phase 50 A
    if (g == OutputType)
        return 190 + k;
    return k == 0 ? 184 : 185;
}

int shownOption(int g, int word)
{
    return word >= 0 && word < optionCount(g) ? word : 0;
}

OptionSet optionWords(const QmxData& d)
{
    return {d.OptSet_Alarm2, d.OptSet_HeatCool, d.OptSet_HB,
            d.OptSet_SVsel,  d.OptSet_OutType,  d.OptSet_Comm};
}

void setOptionWords(QmxData& d, const OptionSet& w)
{
    d.OptSet_Alarm2 = w[0];
    d.OptSet_HeatCool = w[1];
    d.OptSet_HB = w[2];
    d.OptSet_SVsel = w[3];
    d.OptSet_OutType = w[4];
    d.OptSet_Comm = w[5];
}

OpsetPanel OpsetPanel::laidOut(const OptionSet& words)
{
    OpsetPanel p;
    p.selected.fill(0);
    for (int g = 0; g < kOptionGroups; ++g)
        setGroup(p, g, true);
    p.words = words;
    return p;
}

void selectOption(OpsetPanel& p, int g, int k, std::vector<int>& messages)
{
    if (g < 0 || g >= kOptionGroups || k < 0 || k >= kCounts[g] || p.selected[size_t(g)] == k)
        return;
    p.selected[size_t(g)] = k;
    const Verdict v = rule(p, g, k);
    if (v.message == 0)
        return;
    messages.push_back(v.message);
    p.selected[size_t(g)] = -1;
    selectOption(p, g, v.fallback, messages);
}

OpsetOpening openOpset(OpsetPanel& p, bool haveData, bool& hbCt50A)
{
    OpsetOpening o;
    o.before = p.words;
    if (!haveData) {
        o.labels.fill(184);
        p.words.fill(0);
        return o;
    }
    for (int g = 0; g < kOptionGroups; ++g) {
        const int v = p.words[size_t(g)];
        const int shown = shownOption(g, v);
        o.labels[size_t(g)] = optionCaption(g, shown);
        selectOption(p, g, shown, o.messages);
        if (g == HeaterBurnout && isHeaterBurnoutOption(v))
            hbCt50A = isFiftyAmpOption(v);
    }
    return o;
}

bool clearsHeaterBurnoutValues(int optSetHB, bool hbCt50A)
{
    if (!isHeaterBurnoutOption(optSetHB))
        return true;
    return isFiftyAmpOption(optSetHB) != hbCt50A;
}

void commitOptionChange(QmxData& d)
{
    d.DataValid = true;
    // The alarm values were set for the other transformer's range, or there is no heater burnout.
    if (clearsHeaterBurnoutValues(d.OptSet_HB, d.HB_CT50A)) {
        d.ParaVal(item::kHeaterAlarm1) = 0;
        d.ParaVal(item::kHeaterAlarm2) = 0;
    }
    d.DataChanged = true;
    d.SpecCheck = true;
}

} // namespace qmx
