// The layout of the four settings pages: which rows, units and set buttons apply to the option set,
// the model and the current values, and every row's value text.
#pragma once

#include "model/qmx_data.h"
#include "rules/display_ops.h"

#include <array>
#include <cstdint>

namespace qmx {

// What a layout asks beyond the window's own controls.
struct PagesEffects {
    int selectOptionManu = -1;    // select Option_manu(0/1) of the list-choice window, if it exists
    bool clearMv2Caption = false; // hand the chart an empty MV2 text
};

class SettingsPages {
public:
    // The auto/manual state last applied to the list-choice window.
    bool ManualShown = false;

    // Lays out all four pages; `tab` (the selected page) does not change the layout.
    void Disp_SStab2(QmxData& d, int tab, DisplayOps& ops, PagesEffects& fx);

    // The PID rows and the cooling rows alone, as the whole layout draws them; the numeric entry
    // re-lays them after an offline change of P, cooling P, I or D.
    static void heating(const QmxData& d, DisplayOps& ops);
    static void cooling(const QmxData& d, DisplayOps& ops);

private:
    void unitsAndAlarms(const QmxData& d, DisplayOps& ops);
    void heaterBurnout(const QmxData& d, DisplayOps& ops);
    void others(QmxData& d, DisplayOps& ops, PagesEffects& fx);
    void modelRows(const QmxData& d, DisplayOps& ops, PagesEffects& fx);
};

// The screen data a layout of the pages is drawn from: the settings, the option set, the model and
// the controller's status and option words. Pages laid out from one source show the data as long
// as the data still give the same source.
struct PageSource {
    std::array<int16_t, kLastPara - kFirstPara + 1> values{};
    std::array<int16_t, 6> optionSet{};
    std::array<int16_t, 3> statusAndOptions{};
    bool infrared = false;
    bool operator==(const PageSource&) const = default;
};
PageSource pageSourceOf(const QmxData& d);

// Whether a layout of the pages drawn from `d` shows the set button of `item` (its own flag: the
// group frames around the buttons follow the option set alone).
bool setButtonShown(const QmxData& d, int item);

// The rate unit text ("deg.C/min" ...) for the input type; empty to leave the label as it is.
QString rateUnitText(const QmxData& d, bool* leaveUnchanged);

} // namespace qmx
