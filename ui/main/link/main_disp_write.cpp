// Single writes and the manual-output buttons.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/link/main_disp_host.h"
#include "ui/main/main_disp.h"

#include "comm/reply_verdict.h"
#include "model/items.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/manual_output.h"
#include "rules/set_refusal.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QTabWidget>

#include <optional>

namespace qmx {

namespace {

const QString kOK = QStringLiteral("OK");
const QString kNG = QStringLiteral("NG");

bool specialItem(int item)
{
    return item >= item::kSetValue2 && item <= item::kOutOffKey;
}

// The set value lock is written first, always, so the controller takes the set values and the AT
// bias under the lock in force.
bool needsLockFirst(int item)
{
    return item == item::kSetValue || item == item::kAtBias || specialItem(item);
}

// The items that take the special writes; the main set value only on a controller that reports
// options, one without options has the plain register.
bool specialRoute(const QmxData& d, int item)
{
    return specialItem(item) || (item == item::kSetValue && d.OptionBits() != 0);
}

} // namespace

void MainDisp::Write_Para()
{
    const int item = d.ParaNo;
    if (!d.ParaVal.inBounds(item))
        return;
    // A value that is not sent, or a write that does not land, puts back what the controller
    // holds for the item; while a later edit of the item waits, the screen keeps that edit's value
    // for its own write.
    const ControllerRecord& record = link->record();
    const auto restore = [this, item, &record] {
        if (!d.writeQueued(item))
            d.ParaVal(item) = heldByController(d, record, item);
    };
    // An AT or OUT/OFF choice that changed nothing since the edit was accepted is not sent, nor
    // one the controller holds already: its write acts on the controller (a tuning that has just
    // ended would start again).
    if (item == item::kAutoTuning || item == item::kOutOff) {
        const int16_t base = d.EditBase(item).value_or(d.ParaBak(item));
        if (d.ParaVal(item) == base || record.value(item) == d.ParaVal(item)) {
            restore();
            return;
        }
    }
    // The settings as the controller holds them: a choice the operator made after this edit waits
    // behind it in the queue and is written after it, so it decides nothing here.
    const QmxData held = asControllerHolds(d, record);
    // An edit whose set button the controller's data now hide or refuse (an upload brought
    // auto-tuning, "Lock 3" or another input type while the edit waited) is not written, as its
    // set button would no longer open it. Nothing is sent; the item is put back and an upload
    // brings back what its OK changed beside it. The manual output has no set button.
    if (item != item::kManualOutput && editEndsUnder(held, item)) {
        restore();
        d.ReUpload = true;
        return;
    }
    const auto commError = [this] {
        host_->showCommError();
        d.ComErr = true;
    };

    QString reply;
    // The edit goes under the lock in force, the controller's own: a lock chosen after this edit
    // waits behind it.
    const int16_t lock = held.ParaVal(item::kLockSelection);
    if (needsLockFirst(item)) {
        reply = Sendcomm(d.strAdr, QString(), QStringLiteral("06"),
                         d.CommNoTbl(item::kLockSelection), toHex4(lock), 3);
        d.ComErr = false;
        switch (judgeReply(d.Protocol, reply, QStringLiteral("06"))) {
        case Verdict::Accepted:
            link->record().confirm(item::kLockSelection, lock);
            StatusBar1->setPanel(1, kOK);
            break;
        case Verdict::Busy:
            StatusBar1->setPanel(1, kNG);
            StatusBar1->setPanel(4, QString());
            host_->showBusyNotice(true);
            restore();
            ui::Beep();
            return;
        case Verdict::Refused:
            StatusBar1->setPanel(1, kNG);
            break;
        case Verdict::Other:
            StatusBar1->setPanel(1, kNG);
            restore();
            break;
        case Verdict::NoAnswer:
            commError();
            restore();
            break;
        }
        StatusBar1->setPanel(4, QString());
    }

    // The data is taken only now: a restore above makes the old value the one written.
    StatusBar1->setPanel(4, LoadResString(453));
    const int16_t value = d.ParaVal(item);
    const QString data = toHex4(value);
    const bool special = specialRoute(d, item);
    const int takenBefore = link->specialValuesTaken();
    // The controller takes longer to answer for its input type, as in the download and the check.
    if (item == item::kInputType)
        QMXCom->setCom_TimeOut(400);
    if (!special) {
        reply = Sendcomm(d.strAdr, QString(), QStringLiteral("06"), d.CommNoTbl(item), data, 3);
    } else if (item == item::kAbnormalOutput) {
        link->DCOSL_change(data);
    } else if (item == item::kOutOffKey) {
        // The OUT/OFF key cannot take "off" while the output is manual: automatic first.
        if (d.ParaVal(item::kOutOffKey) == 0 && held.ParaVal(item::kAutoManual) == 1) {
            d.ParaVal(item::kAutoManual) = 0;
            link->Send_Para();
        }
        link->DCOSL_change(data);
    } else {
        link->SV_change(data);
    }

    // The special writes report their own replies; what is judged for them is the lock write's.
    d.ComErr = false;
    const Verdict verdict = judgeReply(d.Protocol, reply, QStringLiteral("06"));
    // Whether the controller took the value: the plain write's answer, or both of the item's own
    // special writes acknowledged, the value staged and then committed.
    const bool written =
        special ? link->specialValueTaken(takenBefore) : verdict == Verdict::Accepted;
    if (written) {
        link->record().confirm(item, value);
        // A later edit of the item is judged against what this write left on the controller: a
        // Cancel chosen after a Perform that landed has changed something.
        if (d.writeQueued(item))
            d.EditBase(item) = value;
    }
    switch (verdict) {
    case Verdict::Accepted:
        StatusBar1->setPanel(1, kOK);
        d.DataValid = true;
        break;
    case Verdict::Busy:
        StatusBar1->setPanel(1, kNG);
        if (item != item::kAutoTuning) {
            StatusBar1->setPanel(4, QString());
            host_->showBusyNotice(true);
            ui::Beep();
        }
        break;
    case Verdict::Refused:
        StatusBar1->setPanel(1, kNG);
        break;
    case Verdict::Other:
        StatusBar1->setPanel(1, kNG);
        restore();
        break;
    case Verdict::NoAnswer:
        if (!(item == item::kSetValue || specialItem(item))) {
            commError();
            restore();
        }
        break;
    }
    StatusBar1->setPanel(4, QString());

    // Read back what the controller holds now. A value neither taken nor read back is put back,
    // so nothing looks written that the controller does not hold.
    bool readBack = false;
    if (specialItem(item)) {
        const int storedBefore = link->specialReadsStored();
        // Each reads only what the controller's options carry.
        if (item == item::kAbnormalOutput || item == item::kOutOffKey)
            link->Read_data();
        else
            link->Read_SV();
        readBack = link->specialReadsStored() > storedBefore;
    } else {
        reply =
            Sendcomm(d.strAdr, QString(), QStringLiteral("03"), d.CommNoTbl(item), QString(), 3);
        QMXCom->setCom_TimeOut(300);
        d.ComErr = false;
        switch (judgeReply(d.Protocol, reply, QStringLiteral("03"))) {
        case Verdict::Accepted:
            link->ReadDataSet(reply, item);
            readBack = true;
            StatusBar1->setPanel(1, kOK);
            break;
        case Verdict::Busy:
        case Verdict::Refused:
            StatusBar1->setPanel(1, kNG);
            break;
        case Verdict::Other:
            if (d.Protocol != 0)
                StatusBar1->setPanel(1, kNG);
            else
                commError();
            break;
        case Verdict::NoAnswer:
            commError();
            break;
        }
    }

    if (!written && !readBack)
        restore();

    StatusBar1->setPanel(1, QString());
    link->Dummy_Wait();
}

void MainDisp::Manuval_Click(int Index)
{
    const std::optional<int> step = manualOutputStep(Index);
    if (!step)
        return;
    if (!d.OnLine) {
        SSTab1->setFocus();
        return;
    }
    // The read below would cut into a transfer or search that is waiting on the controller.
    if (inLongStep()) {
        ui::Beep();
        return;
    }
    // The read lets the window live while it waits: nothing else may talk to the controller then.
    LongStep hold(*this);

    const ManualOutputLimits limits = manualOutputLimits(
        d.ParaVal(item::kOutputHigh), d.ParaVal(item::kOutputLow), (d.OptionBits() & 0x40) != 0);

    // The step goes onto the controller's present output, never onto what the screen last showed:
    // a value read earlier may be far from it, and a step must not move the output further than
    // its own size. Without a fresh value nothing is written.
    const QString reply = Sendcomm(d.strAdr, QString(), QStringLiteral("03"),
                                   d.CommNoTbl(item::kManualOutput), QString(), 3);
    d.ComErr = false;
    const Verdict verdict = judgeReply(d.Protocol, reply, QStringLiteral("03"));
    SSTab1->setFocus();
    if (verdict != Verdict::Accepted) {
        if (verdict != Verdict::NoAnswer)
            StatusBar1->setPanel(1, kNG);
        host_->showCommError();
        d.ComErr = true;
        return;
    }
    link->ReadDataSet(reply, item::kManualOutput);
    StatusBar1->setPanel(1, kOK);

    // The output just read, even where an earlier step still waits in the queue with its own.
    const int16_t present =
        link->record().value(item::kManualOutput).value_or(d.ParaVal(item::kManualOutput));
    d.ParaBak(item::kManualOutput) = present;
    d.ParaVal(item::kManualOutput) = manualOutputTarget(present, *step, limits);
    d.ParaNo = item::kManualOutput;
    d.Req_Write();
}

} // namespace qmx
