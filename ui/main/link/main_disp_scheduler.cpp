// The scheduler: one step per Timer1 tick, and the error watchdog on Timer6.
#include "comm/exchange.h"
#include "comm/port_wait.h"
#include "comm/velder_comm.h"
#include "ui/main/main_disp.h"

#include "comm/scheduler.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/transfer_report.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace qmx {

void MainDisp::Timer1_Timer()
{
    // A tick that comes due while a step (or a search, or the online check) runs, for example
    // inside one of its message boxes, waits for the next tick: steps never nest.
    if (inLongStep())
        return;
    LongStep step(*this);
    QElapsedTimer took;
    took.start();

    OneShots pending{oneShotDownload_, oneShotUpload_};
    const Tick tick = takeTick(d.ComMode, d.ParaNo, d.WriteQueue, pending);
    oneShotDownload_ = pending.download;
    oneShotUpload_ = pending.upload;
    d.ComMode = tick.comMode;

    switch (tick.step) {
    case SchedStep::Idle:
        return;
    case SchedStep::Monitor:
        if (d.DataChanged)
            d.DataChanged = false;
        Read_Monitor();
        SelectDispItem();
        break;
    case SchedStep::Write:
        writeQueuedItem(tick.item);
        if (d.ReUpload)
            requestComMode(4);
        break;
    case SchedStep::Download:
        Write_AllPara();
        // However a transfer ended, it runs no longer: the watchdog must not speak of it.
        d.Downloading = false;
        break;
    case SchedStep::Upload:
        ReadPara_setflg();
        d.Uploading = false;
        break;
    case SchedStep::CheckAndLoad:
        runCheckAndDownload();
        d.Downloading = false;
        break;
    case SchedStep::Reset:
        break;
    }

    OneShots after{oneShotDownload_, oneShotUpload_};
    d.ComMode = waitingMode(d.WriteQueue, after, 1);

    // After a step that overran its tick the next one comes a whole period later, never at once to
    // catch up: the controller gets the same rest after a long step as after a short one.
    if (Timer1.isActive() && took.elapsed() >= Timer1.interval())
        Timer1.start();
}

void MainDisp::runCheckAndDownload()
{
    auto closeLink = [this] {
        Timer1.stop();
        Timer6.stop();
        QMXCom->Com_Close();
        Cmd_ONOFF->setEnabled(true);
        dropRequests();
    };

    Setdata_read1();
    if (!d.ComOK) {
        closeLink();
        return;
    }
    Write_AllPara2();
    const OnlineCheck check = Setdata_read();
    d.DataChanged = false;
    if (d.OnLine) {
        // As when going online: a controller of another model is not monitored.
        if (check == OnlineCheck::ModelError)
            goFullyOffline();
        return;
    }
    if (d.ComOK) {
        // The link was opened for this download only.
        endTemporaryLink();
        Timer1.stop();
        Timer6.stop();
        d.ComOK = false;
        QMXCom->Com_Close();
        Cmd_ONOFF->setEnabled(true);
        dropRequests();
        ofline();
        return;
    }
    // The online check after the download turned the controller away and took the link down
    // itself; nothing is left to retry, so the link ends here rather than at a later tick.
    closeLink();
}

void MainDisp::requestComMode(int mode)
{
    OneShots pending{oneShotDownload_, oneShotUpload_};
    addOneShot(pending, mode);
    oneShotDownload_ = pending.download;
    oneShotUpload_ = pending.upload;
    d.ComMode = waitingMode(d.WriteQueue, pending, d.ComMode);
}

void MainDisp::writeQueuedItem(int item)
{
    // The item captured when the write was asked, whatever was edited since; the item the
    // operator has open gets ParaNo back, unless another one was opened meanwhile.
    const int open = d.ParaNo;
    d.ParaNo = item;
    Write_Para();
    if (d.ParaNo == item)
        d.ParaNo = open;
    d.writeEnded(item);
}

void MainDisp::writeQueuedEdits()
{
    if (d.WriteQueue.empty())
        return;
    // A link that no longer answers ends the writing: the edits left are put back with the queue.
    do {
        const int item = d.WriteQueue.front();
        d.WriteQueue.pop_front();
        writeQueuedItem(item);
    } while (!d.WriteQueue.empty() && !d.ComErr && !QuitRequested());
    // What the writes asked the controller for beside them (a range it rebuilt, a refused edit's
    // neighbours) will not be read: the next Online asks what becomes of the screen data.
    if (d.ReUpload) {
        d.ReUpload = false;
        d.DataChanged = true;
    }
}

void MainDisp::dropRequests()
{
    // An edit that never went out shows what the controller holds again, and the next Online asks
    // about the screen data its OK may have changed beside it; so it does when the upload a write
    // asked for will not run.
    static const ControllerRecord nothingConfirmed;
    for (const int item : d.WriteQueue) {
        d.ParaVal(item) = heldByController(d, link ? link->record() : nothingConfirmed, item);
        d.DataChanged = true;
    }
    if (oneShotUpload_ && d.ReUpload)
        d.DataChanged = true;
    d.WriteQueue.clear();
    d.EditBase.fill(std::nullopt);
    oneShotDownload_ = 0;
    oneShotUpload_ = false;
    d.Uploading = false;
    d.Downloading = false;
}

void MainDisp::showTransferProgress(int value)
{
    // A progress bar paints itself at once on a new value, which for every item would hold the
    // next request back by a repaint. With its updates off for the change, the new value is only
    // marked for painting, and the wait for the next reply paints it.
    for (QProgressBar* bar : {ProgressBar1, ProgressBar2}) {
        bar->setUpdatesEnabled(false);
        bar->setValue(value);
        bar->setUpdatesEnabled(true);
    }
}

void MainDisp::Timer6_Timer()
{
    if (!d.ComErr) {
        Text_readmsg2->setVisible(false);
        ComErrCount = 0;
        return;
    }
    ComErrCount = qMin(ComErrCount + 1, 5);
    // One box at a time: ticks that come while the operator reads it only count. A tick that
    // comes while a step waits for the controller only counts too: a box opened there would hold
    // the exchange under it. A transfer tells its failure itself (tellTransferFailure).
    if (ComErrCount <= 4 || watchdogBoxOpen_ || inLongStep() || waitingForThePort())
        return;
    watchdogBoxOpen_ = true;
    auto tell = [this](int first, int second) {
        ui::MsgBox(LoadResString(first) + QLatin1Char('\n') + LoadResString(second),
                   ui::Buttons::OK, ui::Icon::None);
        StatusBar1->setPanel(4, QString());
    };
    if (d.Uploading)
        tell(380, 381);
    if (d.Downloading)
        tell(382, 383);
    watchdogBoxOpen_ = false;
}

void MainDisp::tellTransferFailure(TransferReport& report, Transfer kind, bool atEnd)
{
    if (!(atEnd ? report.dueAtEnd() : report.dueNow(ComErrCount)) || watchdogBoxOpen_)
        return;
    report.told();
    watchdogBoxOpen_ = true;
    const int first = kind == Transfer::Upload ? 380 : 382;
    ui::MsgBox(LoadResString(first) + QLatin1Char('\n') + LoadResString(first + 1), ui::Buttons::OK,
               ui::Icon::None);
    StatusBar1->setPanel(4, QString());
    watchdogBoxOpen_ = false;
}

} // namespace qmx
