// The model-change, trace, print and report menus.
#include "ui/main/main_disp.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/subdisp_opset.h"
#include "ui/ui_seam.h"

#include <QAction>

namespace qmx {

void MainDisp::mnuOpset_Click()
{
    // The option set decides the data layout; it cannot change under a running monitor.
    if (d.OnLine) {
        ui::MsgBox(LoadResString(59), ui::Buttons::OK, ui::Icon::None);
        return;
    }
    // A download from offline works on the option set and the values.
    if (inLongStep()) {
        ui::Beep();
        return;
    }
    ui::Beep();
    // Built at each opening, so it always starts from the set in force; deleted when it closes.
    auto* dialog = subWindows_.open<SubDisp_Opset>(
        QStringLiteral("SubDisp_Opset"), [this] { return new SubDisp_Opset(*this, this); });
    if (dialog)
        dialog->exec();
}

void MainDisp::mnuTrace_Click()
{
    ui::Beep();
    if (!d.OnLine) {
        mnuTrace->setChecked(Velder_ChartCtl1->isRunning());
        ui::MsgBox(LoadResString(159), ui::Buttons::OK, ui::Icon::None);
        return;
    }
    // A stopped chart starts (with its own refusals), a running one stops; the chart sets the
    // check mark either way.
    Velder_ChartCtl1->auto_run();
    mnuTrace->setChecked(Velder_ChartCtl1->isRunning());
}

void MainDisp::stopTrace()
{
    Velder_ChartCtl& chart = *Velder_ChartCtl1;
    if (!mnuTrace->isChecked() && !chart.isRunning())
        return;
    mnuTrace->setChecked(false);
    // A mark left on a stopped chart must not start one now.
    if (chart.isRunning())
        chart.auto_run();
    // The box only informs: the trace has already stopped.
    ui::MsgBox(LoadResString(500), ui::Buttons::OK, ui::Icon::Information, LoadResString(1));
}

} // namespace qmx
