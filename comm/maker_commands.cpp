// The special commands of the maker's protocol: the set values 2-4, the contact input function, the
// two output-selection items and the set-value memory number have no ordinary register and are
// reached through the special codes of CommNoTbl2. The main set value goes the same road so that
// its write also clears the standby of the alarms.
#include "comm/exchange.h"
#include "comm/reply_verdict.h"
#include "model/items.h"
#include "model/string_table.h"

namespace qmx {

namespace {

// The refused write of item 46 puts back the item the operator was changing, as the controller
// holds it.
void restoreEdited(QmxData& d, const ControllerRecord& record)
{
    if (d.ParaVal.inBounds(d.ParaNo))
        d.ParaVal(d.ParaNo) = heldByController(d, record, d.ParaNo);
}

} // namespace

bool Exchange::svMemoryOption() const
{
    const int bits = data_.OptionBits();
    return (bits & 0x01) && !(bits & 0x02);
}

void Exchange::beginCommandFrame()
{
    comm_.setCom_TimeOut(300);
    Write_Key(QString::fromLatin1(kAccessKey));
    comm_.setCom_TimeOut(400);
}

void Exchange::endCommandFrame()
{
    comm_.setCom_TimeOut(300);
}

QString Exchange::special(char16_t command, int codeIndex, const QString& data)
{
    return Sendcomm(data_.strAdr, QString(), commandChar(command), data_.CommNoTbl2(codeIndex),
                    data, 3);
}

bool Exchange::specialWrite(char16_t command, int codeIndex, const QString& data)
{
    const QString reply = special(command, codeIndex, data);
    ComCheck(reply);
    return reply.startsWith(QChar(0x06));
}

// A special read stores an acknowledged value; a refusal keeps the old one; anything else is a
// communication error that the watchdog counts.
void Exchange::specialRead(char16_t command, int codeIndex, int item)
{
    const QString reply = special(command, codeIndex, QString());
    data_.ComErr = false;
    const QChar first = reply.isEmpty() ? QChar() : reply[0];
    if (first == QChar(0x06)) {
        ReadDataSet(reply, item);
        ++readsStored_;
        host_.setStatusPanel(1, QStringLiteral("OK"));
    } else if (first == QChar(0x15) || first == QChar(0x1B)) {
        host_.setStatusPanel(1, QStringLiteral("NG"));
    } else {
        ++readsFailed_;
        host_.showCommError();
        data_.ComErr = true;
    }
}

void Exchange::svPair(int firstIndex, int secondIndex, const QString& data)
{
    const bool staged = specialWrite(kCmdWriteFirst, firstIndex, data);
    const bool committed = specialWrite(kCmdWriteSecond, secondIndex, data);
    if (staged && committed)
        ++valuesTaken_;
}

// A set value written while it is the one in use restarts the standby of alarms with standby, by
// the alarm types the controller holds.
void Exchange::standbyWrites()
{
    if (held(item::kAlarm1Type) > 6)
        specialWrite(kCmdWriteStandby, 16, QStringLiteral("0000"));
    if (held(item::kAlarm2Type) >= 7)
        specialWrite(kCmdWriteStandby, 17, QStringLiteral("0000"));
}

void Exchange::Memono()
{
    comm_.setCom_TimeOut(300);
    Write_Key(QString::fromLatin1(kAccessKey));
    const QString reply = special(kCmdReadMemoryNo, 15, QString());
    data_.ComErr = false;
    const QChar first = reply.isEmpty() ? QChar() : reply[0];
    if (first == QChar(0x06)) {
        ReadDataSet(reply, item::kMemoryNo);
        host_.setStatusPanel(1, QStringLiteral("OK"));
    } else if (first == QChar(0x15) || first == QChar(0x1B)) {
        host_.setStatusPanel(1, QStringLiteral("NG"));
    }
}

void Exchange::SV_change(const QString& SetingDATA)
{
    beginCommandFrame();
    if (svMemoryOption())
        Memono();
    const bool memoryOption = data_.OptionBits() & 0x01;
    // The controller's own contact input decides, not a choice still waiting behind this write.
    const bool contactFree = held(item::kContactInput) == 0;
    const int inUse = data_.MonVal(item::kMemoryNo);
    switch (data_.ParaNo) {
    case 11:
        svPair(8, 1, SetingDATA);
        if (inUse == 0)
            standbyWrites();
        break;
    case 59:
        if (memoryOption) {
            svPair(9, 2, SetingDATA);
            if (inUse == 1)
                standbyWrites();
        }
        break;
    case 60:
        if (memoryOption && contactFree) {
            svPair(10, 3, SetingDATA);
            if (inUse == 2)
                standbyWrites();
        }
        break;
    case 61:
        if (memoryOption && contactFree) {
            svPair(11, 4, SetingDATA);
            if (inUse == 3)
                standbyWrites();
        }
        break;
    case item::kContactInput:
        svPair(12, 5, SetingDATA);
        break;
    default:
        break;
    }
    endCommandFrame();
}

void Exchange::DCOSL_change(const QString& SetingDATA)
{
    beginCommandFrame();
    if (data_.ParaNo == 63)
        svPair(13, 6, SetingDATA);
    else if (data_.ParaNo == 64)
        svPair(14, 7, SetingDATA);
    endCommandFrame();
}

void Exchange::Read_SV()
{
    if (!svMemoryOption())
        return;
    beginCommandFrame();
    const bool contactFree = held(item::kContactInput) == 0;
    switch (data_.ParaNo) {
    case 59:
        // The second code is read whatever the first gave: its acknowledged value stands.
        specialRead(kCmdReadFirst, 9, 59);
        specialRead(kCmdReadSecond, 2, 59);
        break;
    case 60:
        if (contactFree)
            specialRead(kCmdReadFirst, 10, 60);
        break;
    case 61:
        if (contactFree)
            specialRead(kCmdReadFirst, 11, 61);
        break;
    case item::kContactInput:
        specialRead(kCmdReadFirst, 12, item::kContactInput);
        break;
    default:
        break;
    }
    endCommandFrame();
}

void Exchange::Read_data()
{
    if (data_.ParaNo != 63) {
        beginCommandFrame();
        specialRead(kCmdReadFirst, 14, 64);
        endCommandFrame();
        return;
    }
    // The output selection on input abnormal exists only for DC inputs with the option present.
    if (isDcInput(held(item::kInputType), data_.RDModel) && (data_.OptionBits2() & 0x10)) {
        beginCommandFrame();
        specialRead(kCmdReadFirst, 13, 63);
        endCommandFrame();
    }
}

void Exchange::Send_Para()
{
    host_.setStatusPanel(4, LoadResString(453));
    const QString code = data_.CommNoTbl(item::kAutoManual);
    const QString written = Sendcomm(data_.strAdr, QString(), QStringLiteral("06"), code,
                                     toHex4(data_.ParaVal(item::kAutoManual)), 3);
    data_.ComErr = false;
    const int protocol = data_.Protocol;
    switch (judgeReply(protocol, written, QStringLiteral("06"))) {
    case Verdict::Accepted:
        host_.setStatusPanel(1, QStringLiteral("OK"));
        data_.DataValid = true;
        record_.confirm(item::kAutoManual, data_.ParaVal(item::kAutoManual));
        break;
    case Verdict::Busy:
        host_.setStatusPanel(1, QStringLiteral("NG"));
        host_.setStatusPanel(4, QString());
        host_.showBusyNotice(true);
        host_.beep();
        break;
    case Verdict::Refused:
        host_.setStatusPanel(1, QStringLiteral("NG"));
        break;
    case Verdict::Other:
        host_.setStatusPanel(1, QStringLiteral("NG"));
        restoreEdited(data_, record_);
        break;
    case Verdict::NoAnswer:
        host_.showCommError();
        data_.ComErr = true;
        restoreEdited(data_, record_);
        break;
    }
    host_.setStatusPanel(4, QString());

    const QString read =
        Sendcomm(data_.strAdr, QString(), QStringLiteral("03"), code, QString(), 3);
    data_.ComErr = false;
    const Verdict v = judgeReply(data_.Protocol, read, QStringLiteral("03"));
    if (v == Verdict::Accepted) {
        ReadDataSet(read, item::kAutoManual);
        host_.setStatusPanel(1, QStringLiteral("OK"));
    } else if (v == Verdict::NoAnswer) {
        host_.showCommError();
        data_.ComErr = true;
    } else {
        host_.setStatusPanel(1, QStringLiteral("NG"));
    }
    host_.setStatusPanel(1, QString());
    Dummy_Wait();
}

} // namespace qmx
