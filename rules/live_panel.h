// The live-value panel: PV, SV and MV displays, the status lamps and the chart's live texts.
#pragma once

#include "rules/display_ops.h"
#include "rules/settings_pages.h"

namespace qmx {

struct ChartCaptions {
    QString Pv0Caption, Sv0Caption, Mv1Caption, Mv2Caption;
};

// One refresh after a monitoring step: the panel, then all settings pages (whose rules decide the
// final state of the option-dependent lamps), then the chart texts.
void SelectDispItem(QmxData& d, SettingsPages& pages, int tab, DisplayOps& ops, PagesEffects& fx,
                    ChartCaptions& chart);

} // namespace qmx
