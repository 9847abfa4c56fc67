// The window side of the exchange with the controller: the status-bar verdicts, the communication
// error and key-operation notices, and the message boxes the exchange routines raise.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/link/main_disp_host.h"
#include "ui/main/main_disp.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSettings>

namespace qmx {

void MainDisp::newQMXCom()
{
    if (!host_)
        host_ = std::make_unique<Host>(*this);
    link.reset();
    if (QMXCom)
        QMXCom->Com_Close();
    QMXCom = std::make_unique<Velder_Comm>();
    QMXCom->setPortMap(readPortMap(*openSettings()));
    link = std::make_unique<Exchange>(d, *QMXCom, *host_);
}

QString MainDisp::Sendcomm(const QString& stAdr, const QString& Subadr, const QString& Commod,
                           const QString& CommNo, const QString& Commdata, int retn)
{
    return link ? link->Sendcomm(stAdr, Subadr, Commod, CommNo, Commdata, retn) : QString();
}

void MainDisp::Timer3_Timer()
{
    Text_readmsg3->setVisible(false);
    Text_readmsg5->setVisible(false);
    Timer3.stop();
}

} // namespace qmx
