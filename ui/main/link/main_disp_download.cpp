// Download of the screen data to the controller: the Download menu, the temporary link it opens
// from offline, and the two download runs of the scheduler.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/link/main_disp_host.h"
#include "ui/main/main_disp.h"

#include "comm/download_chain.h"
#include "comm/reply_verdict.h"
#include "model/items.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/transfer_report.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace qmx {

namespace {

constexpr int kStatusAutoTuning = 0x800;

void refuseWhileAutoTuning()
{
    ui::MsgBox(LoadResLines({503, 504}), ui::Buttons::OK, ui::Icon::None);
    ui::Beep();
}

bool askYes(int id)
{
    return ui::MsgBox(LoadResString(id), ui::Buttons::YesNo, ui::Icon::Question,
                      LoadResString(1)) == ui::Answer::Yes;
}

} // namespace

void MainDisp::mnuDownload_Click()
{
    if (inLongStep()) {
        ui::Beep();
        return;
    }
    if (!d.DataValid) {
        ui::MsgBox(LoadResString(196), ui::Buttons::OK, ui::Icon::None);
        ui::Beep();
        return;
    }
    if (d.StatusBits() & kStatusAutoTuning) {
        refuseWhileAutoTuning();
        return;
    }
    if (!askYes(512)) {
        ui::Beep();
        return;
    }
    if (d.OnLine) {
        ui::Beep();
        d.Downloading = true;
        keepScreenValues();
        requestComMode(5);
        return;
    }
    if (!askYes(517)) {
        ui::Beep();
        return;
    }
    openTemporaryLink();
    requestComMode(5);
}

void MainDisp::keepScreenValues()
{
    const int last = d.RDModel ? kInfraredItem : kLastStandardItem;
    for (int i = kFirstPara; i <= last; ++i)
        d.ParaBak(i) = d.ParaVal(i);
}

void MainDisp::openTemporaryLink()
{
    ui::Beep();
    Cmd_ONOFF->setEnabled(false);
    d.Downloading = true;
    keepScreenValues();
    showOnlineLook();
    // Opened whatever state the scheduler is in: the operator was promised this download. The
    // watchdog runs too, so errors during it are reported as for a download online.
    Timer1.start();
    Timer6.start();
    QMXCom->Com_Close();
    QMXCom->Com_Open();
    d.ComOK = true;
    // Unlock the controller as going online does: a controller locked by an earlier go-offline
    // would otherwise refuse every plain write until the first set-value write sends the key.
    writeKeyInAllProtocols();
}

void MainDisp::endTemporaryLink()
{
    // The link wrote the access key: lock the controller again, as going offline does.
    if (QMXCom && QMXCom->isOpen())
        link->Clear_Key();
    if (d.ProtocolSel != 0) {
        // The key write moved a Modbus controller to the maker's protocol until a power cycle.
        ui::MsgBox(LoadResLines({354, 355, 356}), ui::Buttons::OK, ui::Icon::None);
    }
    d.Protocol = d.ProtocolSel;
}

void MainDisp::Write_AllPara()
{
    if (d.StatusBits() & kStatusAutoTuning) {
        refuseWhileAutoTuning();
        return;
    }
    runDownload(false);
}

void MainDisp::Write_AllPara2()
{
    runDownload(true);
}

void MainDisp::showDownloadProgress(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Frame4, Lbl_UPmsg, Frame5, Lbl_UPmsg2})
        w->setVisible(on);
    if (on) {
        Lbl_UPmsg->setText(LoadResString(501));
        Lbl_UPmsg2->setText(LoadResString(501));
    }
}

void MainDisp::runDownload(bool menuRun)
{
    LongStep step(*this);
    const auto routine = menuRun ? download::Routine::Menu : download::Routine::Screen;
    const auto apply = [this](const download::ReplyEffects& fx) {
        if (!fx.panel1.isEmpty())
            StatusBar1->setPanel(1, fx.panel1);
        if (fx.clearPanel4)
            StatusBar1->setPanel(4, QString());
        if (fx.dataValid)
            d.DataValid = true;
        if (fx.commError) {
            if (fx.keepErrorText)
                Text_readmsg2->setVisible(true);
            else
                host_->showCommError();
            d.ComErr = true;
        }
        if (fx.busyNotice) {
            host_->showBusyNotice(false);
            ui::Beep();
        }
    };

    // Every transfer starts by setting the transfer-mode register; no answer to it stops the run.
    const QString modeReply = Sendcomm(d.strAdr, QString(), QStringLiteral("06"), d.CommNoTbl(68),
                                       QStringLiteral("0001"), 3);
    d.ComErr = false;
    apply(download::judgeTransferModeReply(d.Protocol, modeReply));

    showDownloadProgress(true);
    StatusBar1->setPanel(4, LoadResString(501));
    StatusBar1->setPanel(1, QString());
    if (!Wait_100ms()) {
        showDownloadProgress(false);
        return;
    }
    for (QProgressBar* bar : {ProgressBar1, ProgressBar2}) {
        bar->setValue(0);
        bar->setVisible(true);
    }

    // A write that did not take is told once: as soon as the watchdog has counted its five ticks,
    // or at the end, however fast the writes failed.
    TransferReport report;
    int progress = 0;
    for (const download::Step& s : download::chain(routine)) {
        ++progress;
        if (download::skippedByVariant(routine, d.RDModel, s.item) ||
            !download::Check_Para(d, s.item)) {
            StatusBar1->setPanel(1, QString());
            continue;
        }
        const bool inputType = s.item == item::kInputType;
        // The controller rebuilds its ranges for a new input type before it answers.
        if (inputType)
            QMXCom->setCom_TimeOut(400);
        const QString data = toHex4(d.ParaVal(s.item));
        QString reply;
        const int takenBefore = link->specialValuesTaken();
        if (s.route == download::Route::Plain) {
            reply = Sendcomm(d.strAdr, QString(), QStringLiteral("06"), download::codeOf(d, s),
                             data, 3);
        } else {
            d.ParaNo = s.item;
            if (s.route == download::Route::SvChange)
                link->SV_change(data);
            else
                link->DCOSL_change(data);
        }
        if (inputType)
            QMXCom->setCom_TimeOut(300);
        showTransferProgress(progress);
        d.ComErr = false;

        const download::ReplyEffects fx = download::judgeItemReply(d.Protocol, reply, s);
        apply(fx);
        // A special item is two writes, the value staged and then committed: both must be taken.
        const bool taken =
            s.route == download::Route::Plain
                ? judgeReply(d.Protocol, reply, QStringLiteral("06")) == Verdict::Accepted
                : link->specialValueTaken(takenBefore);
        if (taken)
            link->record().confirm(s.item, d.ParaVal(s.item));
        if (fx.writeFailed || (s.route != download::Route::Plain && !taken))
            report.exchangeFailed();
        if (fx.abort) {
            ui::MsgBox(LoadResString(292), ui::Buttons::OK, ui::Icon::None);
            showDownloadProgress(false);
            StatusBar1->setPanel(4, QString());
            return;
        }
        StatusBar1->setPanel(1, QString());
        tellTransferFailure(report, Transfer::Download, false);
    }

    for (QProgressBar* bar : {ProgressBar1, ProgressBar2})
        bar->setVisible(false);
    Frame4->setVisible(false);
    Frame5->setVisible(false);
    StatusBar1->setPanel(4, QString());
    tellTransferFailure(report, Transfer::Download, true);
    d.DataValid = true;
    d.Downloading = false;
}

} // namespace qmx
