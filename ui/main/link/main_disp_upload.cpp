// Upload of every setting parameter from the controller: asked from the menu, by the scheduler
// after a write that changes ranges, by the status word, and silently by the online check.
#include "ui/main/main_disp.h"

#include "comm/exchange.h"
#include "comm/reply_verdict.h"
#include "model/items.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/transfer_report.h"
#include "ui/main/link/main_disp_host.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QLabel>
#include <QProgressBar>

namespace qmx {

namespace {

bool isSvItem(int item)
{
    return item >= item::kSetValue2 && item <= item::kContactInput;
}

bool isSpecialDataItem(int item)
{
    return item == item::kAbnormalOutput || item == item::kOutOffKey;
}

} // namespace

void MainDisp::mnuUpload_Click()
{
    if (inLongStep()) {
        ui::Beep();
        return;
    }
    if (!d.OnLine) {
        ui::MsgBox(LoadResString(98), ui::Buttons::OK, ui::Icon::None);
        ui::Beep();
        return;
    }
    const auto answer =
        ui::MsgBox(LoadResString(511), ui::Buttons::YesNo, ui::Icon::Question, QString());
    ui::Beep();
    if (answer != ui::Answer::Yes)
        return;
    // The link may have gone down while the question was open.
    if (!d.OnLine)
        return;
    requestComMode(4);
    d.Uploading = true;
    Label6->setText(QString());
}

bool MainDisp::writeTransferMode(bool withDisplay)
{
    const QString reply = Sendcomm(d.strAdr, QString(), QStringLiteral("06"),
                                   d.CommNoTbl(item::kTransferMode), QStringLiteral("0001"), 3);
    d.ComErr = false;
    switch (judgeReply(d.Protocol, reply, QStringLiteral("06"))) {
    case Verdict::Accepted:
        StatusBar1->setPanel(1, QStringLiteral("OK"));
        return true;
    case Verdict::Busy:
        StatusBar1->setPanel(1, QStringLiteral("NG"));
        // Only an upload the operator asked for is refused aloud, and only once.
        if (d.Uploading) {
            ui::MsgBox(LoadResString(291), ui::Buttons::OK, ui::Icon::None);
            d.Uploading = false;
        }
        StatusBar1->setPanel(4, QString());
        return false;
    case Verdict::Refused:
        StatusBar1->setPanel(1, QStringLiteral("NG"));
        return true;
    case Verdict::Other:
        if (withDisplay && d.Protocol == 0)
            host_->showCommError();
        else
            StatusBar1->setPanel(1, QStringLiteral("NG"));
        return true;
    case Verdict::NoAnswer:
        host_->showCommError();
        d.ComErr = true;
        return true;
    }
    return true;
}

void MainDisp::readAllItems(bool withDisplay, TransferReport* report)
{
    const int last = d.RDModel ? kInfraredItem : kLastStandardItem;
    int count = 0;
    auto advance = [&] {
        ++count;
        if (withDisplay)
            showTransferProgress(qMin(count, ProgressBar1->maximum()));
    };

    for (int item = kFirstPara; item <= last; ++item) {
        if (withDisplay) {
            // The error watchdog, the chart and the screen's repaints run while each reply is on
            // its way (the port's waits let them), not between a reply and the next request.
            if (QuitRequested())
                return;
            if (report)
                tellTransferFailure(*report, Transfer::Upload, false);
        }
        // Auto/manual and the manual output belong to the operator's hands, not to the upload.
        if (item == 46 || item == 47) {
            advance();
            continue;
        }
        // The infrared model keeps its range and decimal point fixed; the screen never takes them.
        if (withDisplay && d.RDModel && item >= 25 && item <= 27)
            continue;
        // An item the operator entered while the upload waited is read all the same, into the
        // record of what the controller holds only (ReadDataSet): the entered value stays on
        // screen and is written after the upload.

        QString reply;
        const bool special = isSvItem(item) || isSpecialDataItem(item);
        if (special) {
            // Set values 2-4 exist only with the memory option; none is read while auto-tuning,
            // as the controller holds it (an AT choice may still wait in the queue).
            const int16_t autoTuning = heldByController(d, link->record(), item::kAutoTuning);
            const bool wanted =
                autoTuning == 0 && (withDisplay || !isSvItem(item) || (d.OptionBits() & 0x01));
            if (wanted) {
                // The special reads take their item from ParaNo; the item the operator has
                // open gets it back, unless another one was opened meanwhile.
                const int open = d.ParaNo;
                const int failedBefore = link->specialReadsFailed();
                d.ParaNo = item;
                if (isSvItem(item))
                    link->Read_SV();
                else
                    link->Read_data();
                // The special reads judge their own replies: no reply or an unreadable one counts;
                // a refusal is the controller's answer (an option it lacks).
                if (report && link->specialReadsFailed() > failedBefore)
                    report->exchangeFailed();
                if (d.ParaNo == item)
                    d.ParaNo = open;
            }
        } else {
            reply = Sendcomm(d.strAdr, QString(), QStringLiteral("03"), d.CommNoTbl(item),
                             QString(), 3);
        }

        d.ComErr = false;
        const Verdict verdict = judgeReply(d.Protocol, reply, QStringLiteral("03"));
        // An item not read keeps the value of another parameter set.
        if (report && !special && verdict != Verdict::Accepted)
            report->exchangeFailed();
        switch (verdict) {
        case Verdict::Accepted:
            link->ReadDataSet(reply, item);
            StatusBar1->setPanel(1, QStringLiteral("OK"));
            break;
        case Verdict::Busy:
        case Verdict::Refused:
            StatusBar1->setPanel(1, QStringLiteral("NG"));
            break;
        case Verdict::Other:
            if (withDisplay && d.Protocol == 0) {
                host_->showCommError();
                d.ComErr = true;
            } else {
                StatusBar1->setPanel(1, QStringLiteral("NG"));
            }
            break;
        case Verdict::NoAnswer:
            // The special reads judged their own replies.
            if (!special) {
                host_->showCommError();
                d.ComErr = true;
            }
            break;
        }
        StatusBar1->setPanel(1, QString());
        advance();
    }
}

void MainDisp::ReadPara_setflg()
{
    // The watchdog and the chart tick while the items come in; nothing else may start meanwhile.
    LongStep step(*this);
    if (!writeTransferMode(true))
        return;

    for (QWidget* w : {static_cast<QWidget*>(Frame4), static_cast<QWidget*>(Lbl_UPmsg),
                       static_cast<QWidget*>(Frame5), static_cast<QWidget*>(Lbl_UPmsg2)})
        w->setVisible(true);
    Lbl_UPmsg->setText(LoadResString(502));
    Lbl_UPmsg2->setText(LoadResString(502));
    StatusBar1->setPanel(4, LoadResString(502));
    StatusBar1->setPanel(1, QString());

    // Items not read are told once: as soon as the watchdog has counted its five ticks, or at the
    // end, however fast the reads failed.
    TransferReport report;
    const bool goOn = Wait_100ms();
    if (goOn) {
        for (QProgressBar* b : {ProgressBar1, ProgressBar2}) {
            b->setValue(0);
            b->setVisible(true);
        }
        readAllItems(true, &report);
    }

    Frame4->setVisible(false);
    ProgressBar1->setVisible(false);
    Frame5->setVisible(false);
    ProgressBar2->setVisible(false);
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    d.Uploading = false;
    // An upload cut short by the program's end has not brought the data.
    if (!goOn || QuitRequested())
        return;
    tellTransferFailure(report, Transfer::Upload, true);
    d.ReUpload = false;
    d.DataValid = true;
}

void MainDisp::ReadPara_setflg2()
{
    if (!writeTransferMode(false))
        return;
    readAllItems(false);
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    d.ReUpload = false;
}

} // namespace qmx
