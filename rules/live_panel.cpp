#include "rules/live_panel.h"

#include "model/value_text.h"

namespace qmx {

namespace {

constexpr int kOverRange = 0x100;
constexpr int kUnderRange = 0x200;

uint32_t lamp(int status, int bit, uint32_t on)
{
    return (status & bit) ? on : colour::White;
}

} // namespace

void SelectDispItem(QmxData& d, SettingsPages& pages, int tab, DisplayOps& o, PagesEffects& fx,
                    ChartCaptions& chart)
{
    const int status = static_cast<uint16_t>(d.StatusBits());
    const int options = static_cast<uint16_t>(d.OptionBits());
    const bool outOfRange = (status & (kOverRange | kUnderRange)) != 0;
    const QString pvText = outOfRange ? QStringLiteral("----") : Para_Text(d, 0);
    o.text(Ctl::Text_PV, pvText);
    const QString svText = Para_Text(d, 3);
    o.text(Ctl::Text_SV, 0, svText);
    o.visible(Ctl::Frame1, true);
    o.visible(Ctl::SSTab2, true);

    o.colour(Ctl::lbl_alm, 2, lamp(status, kOverRange, colour::Red));
    o.colour(Ctl::lbl_alm, 3, lamp(status, kUnderRange, colour::Red));
    o.colour(Ctl::lbl_alm, 0, lamp(status, 0x04, colour::Red));
    o.visible(Ctl::lbl_alm, 1, (options & 0x20) != 0);
    if (options & 0x20)
        o.colour(Ctl::lbl_alm, 1, lamp(status, 0x08, colour::Red));
    o.visible(Ctl::lbl_alm, 4, (options & 0x04) != 0);
    if (options & 0x04)
        o.colour(Ctl::lbl_alm, 4, lamp(status, 0x40, colour::Red));
    const QString mv1 = Para_Text(d, 1);
    o.text(Ctl::Text_MV, 0, mv1);
    o.colour(Ctl::Label23, lamp(status, 0x01, colour::Green));
    const bool heatCool = (options & 0x40) != 0;
    o.visible(Ctl::Label58, heatCool);
    o.visible(Ctl::Text_MV, 1, heatCool);
    o.visible(Ctl::Label18, 1, heatCool);
    if (heatCool) {
        o.text(Ctl::Text_MV, 1, Para_Text(d, 2));
        o.colour(Ctl::Label58, lamp(status, 0x02, colour::Yellow));
    }
    o.colour(Ctl::Label_atm, lamp(status, 0x800, colour::Yellow));

    pages.Disp_SStab2(d, tab, o, fx);

    if (outOfRange) {
        const char* mark = (status & kOverRange) ? "U" : (status & kUnderRange) ? "D" : " ";
        chart.Pv0Caption = QStringLiteral("----") + QLatin1String(mark) + Para_Text(d, 0);
    } else {
        chart.Pv0Caption = pvText;
    }
    chart.Sv0Caption = svText;
    chart.Mv1Caption = mv1;
    chart.Mv2Caption = heatCool ? Para_Text(d, 2) : QString();
}

} // namespace qmx
