// File → Print (the hard copy), All Data (the parameter report) and Export (the parameter CSV).
#include "ui/main/main_disp.h"

#include "model/string_table.h"
#include "ui/print/capture.h"
#include "ui/print/printers.h"
#include "ui/print/prnselect.h"
#include "ui/print/report_module.h"
#include "ui/ui_seam.h"

#include <QDir>
#include <QPrinter>

namespace qmx {

void MainDisp::mnudata_Click()
{
    Show_ParaReport(*this);
}

void MainDisp::mnuexport_Click()
{
    Export_Csv(*this);
}

void MainDisp::mnuFilePrint_Click()
{
    ui::Beep();
    // Without a printer there is nothing to choose: say so once instead of opening an empty choice
    // again and again.
    if (printerNames().isEmpty()) {
        Timer2.stop();
        ui::MsgBox(LoadResString(57), ui::Buttons::OK, ui::Icon::None);
        return;
    }
    if (!choosePrinter(this))
        return;
    // The picture is taken a second later, once the printer choice has left the screen.
    Timer2.start();
}

void MainDisp::Timer2_Timer()
{
    Timer2.stop();
    Picture2 = Capture_ActiveWin(this);
    QString why;
    std::unique_ptr<QPrinter> job = newPrintJob(&why);
    if (job && Print_PictureFit(*job, Picture2, &why))
        return;
    ui::MsgBox(LoadResString(57) + QLatin1Char('\n') + QDir::toNativeSeparators(why),
               ui::Buttons::OK, ui::Icon::None);
}

} // namespace qmx
