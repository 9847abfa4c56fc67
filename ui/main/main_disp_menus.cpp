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
    if (!d.OnLine) {
        mnuTrace->setChecked(Velder_ChartCtl1->isRunning());
        ui::MsgBox(LoadResString(159), ui::Buttons::OK, ui::Icon::None);
        return;
    }
    Velder_ChartCtl1->auto_run();
    mnuTrace->setChecked(Velder_ChartCtl1->isRunning());
}

} // namespace qmx
