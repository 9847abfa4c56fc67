// The exchange with the controller, the scheduler, going online and offline, and the requests the
// entry dialogs and the manual-output buttons make.
#include "app/main_disp.h"

#include "app/qmx_data.h"

#include <QTabWidget>

namespace qmx {

void MainDisp::Cmd_set_Click(int Index)
{
    if (Index < 1 || Index > 56 || Index == 37)
        return;
    d.ParaNo = Index + 10;
    // A refused write puts this value back.
    d.ParaBak(d.ParaNo) = d.ParaVal(d.ParaNo);
}

void MainDisp::Req_Write()
{
    d.Req_Write();
}

void MainDisp::Manuval_Click(int Index)
{
    Q_UNUSED(Index);
    if (!d.OnLine) {
        SSTab1->setFocus();
        return;
    }
}

void MainDisp::Cmd_ONOFF_Click()
{
}

QString MainDisp::Sendcomm(const QString& stAdr, const QString& Subadr, const QString& Commod,
                           const QString& CommNo, const QString& Commdata, int retn)
{
    Q_UNUSED(stAdr);
    Q_UNUSED(Subadr);
    Q_UNUSED(Commod);
    Q_UNUSED(CommNo);
    Q_UNUSED(Commdata);
    Q_UNUSED(retn);
    return QString();
}

void MainDisp::Timer1_Timer()
{
}

void MainDisp::Timer3_Timer()
{
}

void MainDisp::Timer6_Timer()
{
}

// The Cancel buttons of the search notice stop the search before its next probe.
void MainDisp::Command1_Click()
{
    d.CancelFlag = true;
}

void MainDisp::Command2_Click()
{
    d.CancelFlag = true;
}

void MainDisp::mnuUpload_Click()
{
}

void MainDisp::mnuDownload_Click()
{
}

void MainDisp::mnuComset_Click()
{
}

} // namespace qmx
