// The online check: the controller's model and options against the screen data, the refresh of the
// screen data from the controller, and the shorter option check before a download.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/main_disp.h"

#include "comm/monitor_table.h"
#include "comm/reply_verdict.h"
#include "model/items.h"
#include "model/option_set.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/main/link/main_disp_host.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace qmx {

namespace {

OptionSet screenOptions(const QmxData& d)
{
    return {d.OptSet_Alarm2, d.OptSet_HeatCool, d.OptSet_HB,
            d.OptSet_SVsel,  d.OptSet_OutType,  d.OptSet_Comm};
}

} // namespace

void MainDisp::readRegister(int item, const QString& code)
{
    storeReadReply(Sendcomm(d.strAdr, QString(), QStringLiteral("03"), code, QString(), 3), item);
}

void MainDisp::storeReadReply(const QString& reply, int item)
{
    d.ComErr = false;
    switch (judgeReadReply(d.Protocol, reply)) {
    case ReadVerdict::Stored:
        link->ReadDataSet(reply, item);
        StatusBar1->setPanel(1, QStringLiteral("OK"));
        break;
    case ReadVerdict::Refused:
        StatusBar1->setPanel(1, QStringLiteral("NG"));
        break;
    case ReadVerdict::NoAnswer:
        host_->showCommError();
        d.ComErr = true;
        break;
    }
}

bool MainDisp::identifyModel()
{
    const QString reply = sendModelRead();
    d.ComErr = false;
    if (reply.isEmpty()) {
        // Without an answer the check goes on with the model it knew.
        host_->showCommError();
        d.ComErr = true;
        return true;
    }
    if (reply[0] != QChar(0x06)) {
        StatusBar1->setPanel(1, QStringLiteral("NG"));
        return true;
    }
    StatusBar1->setPanel(1, QString());
    d.ModelCode = fromHex4(QMXCom->Com_GetData(reply, 1));
    if (!isServedModel(d.ModelCode, d.UserMapFlag))
        return refuseWrongModel();
    d.RDModel = d.ModelCode == kModelInfrared;
    d.ModelName = d.RDModel ? QStringLiteral("RDQMX") : QStringLiteral("QMX-400");
    d.ModelRetry = false;
    d.ModelErr = false;
    d.ComOK = true;
    return true;
}

void MainDisp::refreshScreenData()
{
    if (d.ScreenSet) {
        Option_read();
        return;
    }
    if (!d.AskRefresh) {
        QMXCom->setCom_TimeOut(400);
        ReadPara_setflg2();
        d.ScreenSet = true;
        return;
    }
    auto ask = [](int id) {
        return ui::MsgBox(LoadResString(id), ui::Buttons::YesNo, ui::Icon::Question,
                          LoadResString(1)) == ui::Answer::Yes;
    };
    if (ask(340) && ask(341)) {
        QMXCom->setCom_TimeOut(400);
        ReadPara_setflg2();
        d.ScreenSet = true;
        ScreenOverwritten = true;
    } else {
        Option_read();
    }
    d.AskRefresh = false;
    d.ScreenSet = true;
}

void MainDisp::refuseOnline(int stringId)
{
    ui::MsgBox(LoadResString(stringId), ui::Buttons::OK, ui::Icon::None);
    leaveOnline();
}

void MainDisp::leaveOnline()
{
    d.OnLine = false;
    if (QMXCom->isOpen()) {
        closeLockedLink();
    } else {
        Timer1.stop();
        Timer6.stop();
        d.ComOK = false;
    }
    dropRequests();
    StatusBar1->setPanel(4, QString());
    // The offline look, the communication-error box included: no watchdog runs offline to hide
    // it later.
    ofline();
    d.SpecCheck = true;
    if (d.ProtocolSel != 0)
        ui::MsgBox(LoadResLines({354, 355, 356}), ui::Buttons::OK, ui::Icon::None);
    d.Protocol = d.ProtocolSel;
}

void MainDisp::adoptControllerOptions()
{
    // The pair that shares one terminal is taken as the comparison reads it, so a set taken over
    // always passes the next comparison.
    const OptionSet c = d.CtrlSpec;
    d.OptSet_Alarm2 = c[Alarm2];
    d.OptSet_HeatCool = c[HeatCool];
    d.OptSet_HB = c[HeaterBurnout];
    d.OptSet_SVsel = c[SvSelect];
    d.OptSet_OutType = c[OutputType];
    d.OptSet_Comm = c[SerialComm];
}

MainDisp::OnlineCheck MainDisp::Setdata_read(bool screenDataGoesOut)
{
    QMXCom->Com_Open();
    if (Check_UserMap() == MapCheck::Refused) {
        // The controller turned the link away and closed the port: nothing is online.
        leaveOnline();
        return OnlineCheck::Refused;
    }
    link->Write_Key(QString::fromLatin1(kAccessKey));
    if (!identifyModel())
        return OnlineCheck::ModelError;

    readRegister(8, d.CommNoTbl(8));
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    readRegister(7, d.CommNoTbl(7));
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    readRegister(4, d.CommNoTbl(4));

    // Screen data changed by hand is the operator's; it is never replaced behind their back.
    if (!d.DataChanged && !screenDataGoesOut)
        refreshScreenData();

    d.CtrlSpec = decodeOptions(d.OptionBits(), d.OptionBits2());
    OnlineCheck outcome = OnlineCheck::Passed;
    if (d.SpecCheck) {
        // Data made for the infrared model cannot drive a standard one (nor the reverse), unless
        // the operator has just let the controller's data replace it.
        if (!d.FileModel.isEmpty() && d.RDModelFile != d.RDModel && !ScreenOverwritten) {
            refuseOnline(803);
            return OnlineCheck::Refused;
        }
        if (firstOptionDifference(screenOptions(d), d.CtrlSpec) >= 0) {
            refuseOnline(290);
            return OnlineCheck::Refused;
        }
        d.SpecCheck = false;
        ScreenOverwritten = false;
    } else {
        outcome = OnlineCheck::Adopted;
        if (!d.StartDataRead) {
            adoptControllerOptions();
            Disp_SStab2(SSTab2->currentIndex());
            d.SpecCheck = !d.AskRefresh;
            d.DataValid = true;
        } else {
            // A file named at start-up keeps the option set it brought.
            Disp_SStab2(SSTab2->currentIndex());
            d.StartDataRead = false;
        }
    }
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    return outcome;
}

void MainDisp::Option_read()
{
    QMXCom->setCom_TimeOut(400);
    readRegister(item::kInputType, d.CommNoTbl(item::kInputType));
    QMXCom->setCom_TimeOut(300);
    // Only the DC inputs have a decimal point of their own: the controller's input type decides.
    if (isDcInput(heldByController(d, link->record(), item::kInputType), d.RDModel))
        readRegister(item::kDecimalPoint, d.CommNoTbl(item::kDecimalPoint));
    readRegister(item::kScalingHigh, d.CommNoTbl(item::kScalingHigh));
    readRegister(item::kScalingLow, d.CommNoTbl(item::kScalingLow));
}

void MainDisp::Setdata_read1()
{
    QMXCom->Com_Open();
    readRegister(8, d.CommNoTbl(8));
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    readRegister(7, d.CommNoTbl(7));
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());

    d.CtrlSpec = decodeOptions(d.OptionBits(), d.OptionBits2());
    if (firstOptionDifference(screenOptions(d), d.CtrlSpec) < 0) {
        d.SpecCheck = false;
        return;
    }
    ui::MsgBox(LoadResString(295), ui::Buttons::OK, ui::Icon::None);
    d.OnLine = false;
    if (!d.ComOK)
        return;
    // Online or on the download's own link, the controller was unlocked: it is locked again, and
    // a Modbus controller is told about, before the port closes.
    endTemporaryLink();
    Timer1.stop();
    Timer6.stop();
    d.ComOK = false;
    QMXCom->Com_Close();
    dropRequests();
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    Cmd_ONOFF->setEnabled(true);
    ofline();
}

} // namespace qmx
