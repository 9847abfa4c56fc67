// The settings pages, the value labels and the live-value panel: the rules live in plain classes
// (settings_pages, live_panel, value_labels) and come here as display lists to apply.
#include "ui/main/main_disp.h"

#include "model/qmx_data.h"
#include "rules/live_panel.h"
#include "rules/settings_pages.h"
#include "rules/value_labels.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/select_disp.h"
#include "ui/main/main_disp_pages.h"

#include <QProgressBar>
#include <QTabWidget>

namespace qmx {

MainDisp::Pages& MainDisp::pages()
{
    if (!pages_)
        pages_ = std::make_unique<Pages>();
    if (!pages_->bound) {
        pages_->applier.bind(this);
        pages_->bound = true;
    }
    return *pages_;
}

void MainDisp::applyPageEffects(const PagesEffects& fx)
{
    // The list-choice window follows the auto/manual edge only while it exists; a refresh never
    // creates a window.
    if (fx.selectOptionManu >= 0)
        if (auto* select = subWindows_.find<Select_Disp>(QStringLiteral("Select_Disp")))
            select->selectManu(fx.selectOptionManu);
    if (fx.clearMv2Caption)
        Velder_ChartCtl1->setMv2Caption(QString());
    openEditsFollowData();
}

// Lays out all four settings pages from the option set, the model and the values; `t` is the
// page now selected and does not change the layout.
void MainDisp::Disp_SStab2(int t)
{
    Pages& p = pages();
    p.ops.clear();
    PagesEffects fx;
    p.rules.Disp_SStab2(d, t, p.ops, fx);
    p.applier.apply(p.ops);
    p.laidOutFrom = pageSourceOf(d);
    applyPageEffects(fx);
}

void MainDisp::applyDisplay(const DisplayOps& ops)
{
    pages().applier.apply(ops);
}

void MainDisp::relayPages()
{
    Disp_SStab2(SSTab2->currentIndex());
}

void MainDisp::relayPagesIfStale()
{
    if (pages_ && pages_->laidOutFrom && *pages_->laidOutFrom != pageSourceOf(d))
        relayPages();
}

// Fills every setting's value label straight from ParaVal, advancing both progress bars.
void MainDisp::Read_data3()
{
    Pages& p = pages();
    p.ops.clear();
    Read_data3Into(p.ops);
    p.applier.apply(p.ops);
}

void MainDisp::Read_data3Into(DisplayOps& ops)
{
    qmx::Read_data3(d, ops, [this](int n) {
        ProgressBar1->setValue(n);
        ProgressBar2->setValue(n);
    });
}

// Refreshes PV, SV, MV, the lamps and the chart's live texts, then the settings pages.
void MainDisp::SelectDispItem()
{
    Pages& p = pages();
    p.ops.clear();
    PagesEffects fx;
    ChartCaptions chart;
    qmx::SelectDispItem(d, p.rules, SSTab2->currentIndex(), p.ops, fx, chart);
    p.applier.apply(p.ops);
    p.laidOutFrom = pageSourceOf(d);
    applyPageEffects(fx);
    Velder_ChartCtl1->setPv0Caption(chart.Pv0Caption);
    Velder_ChartCtl1->setSv0Caption(chart.Sv0Caption);
    Velder_ChartCtl1->setMv1Caption(chart.Mv1Caption);
    Velder_ChartCtl1->setMv2Caption(chart.Mv2Caption);
}

} // namespace qmx
