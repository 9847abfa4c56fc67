#include "comm/exchange.h"

#include "comm/frame_codec.h"
#include "comm/reply_verdict.h"

#include <QRegularExpression>

namespace qmx {

Exchange::Exchange(QmxData& data, Velder_Comm& comm, ExchangeHost& host, QObject* parent)
    : QObject(parent), data_(data), comm_(comm), host_(host)
{
    Timer4.setSingleShot(true);
    // A coarse timer may fire 5% early; the transfers pace the controller with this wait.
    Timer4.setTimerType(Qt::PreciseTimer);
    Timer4.setInterval(100);
    connect(&Timer4, &QTimer::timeout, this, &Exchange::Timer4_Timer);
}

int Exchange::instrumentNumber(const QString& stAdr)
{
    // Only what the settings dialog can produce: one or two decimal digits up to 95. Anything
    // looser ("5.4", "1e1", " 7") would address a controller nobody chose.
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
    if (!digits.match(stAdr).hasMatch())
        return -1;
    const int n = stAdr.toInt();
    return n <= 95 ? n : -1;
}

QString Exchange::Sendcomm(const QString& stAdr, const QString& Subadr, const QString& Commod,
                           const QString& CommNo, const QString& Commdata, int retn)
{
    Q_UNUSED(Subadr);
    comm_.Com_Prep1();
    comm_.Com_Prep2();

    const int instrument = instrumentNumber(stAdr);
    if (instrument < 0)
        return {};

    const bool special = Commod.size() == 1 && Commod[0].unicode() >= kCmdReadMemoryNo &&
                         Commod[0].unicode() <= kCmdWriteSecond;
    QString address;
    QString subAddress;
    QString command;
    QString code = CommNo;
    switch (data_.Protocol) {
    case 0: {
        comm_.setCom_Protocol(frame::kComMaker);
        address = QString(QChar(0x20 + instrument));
        subAddress = QStringLiteral(" ");
        const char16_t c = Commod.size() == 1 ? Commod[0].unicode() : 0;
        if (Commod == u"03")
            command = QStringLiteral(" ");
        else if (c == kCmdReadMemoryNo || c == kCmdReadFirst || c == kCmdReadSecond ||
                 c == kCmdWriteFirst || c == kCmdWriteSecond)
            command = Commod;
        else
            command = QStringLiteral("P");
        break;
    }
    case 1:
    case 2:
        // Modbus has no special commands; sending one would be a write of nonsense.
        if (special)
            return {};
        comm_.setCom_Protocol(data_.Protocol == 1 ? frame::kComModbusAscii : frame::kComModbusRtu);
        address = QStringLiteral("%1").arg(instrument, 2, 16, QChar(u'0')).toUpper();
        subAddress = Subadr;
        command = Commod;
        if (Commod == u"03")
            code += QStringLiteral("0001");
        break;
    default:
        return {};
    }
    return comm_.Com_Send(address, subAddress, command, code, Commdata, retn);
}

void Exchange::ReadDataSet(const QString& tt, int com)
{
    const qint16 value = fromHex4(comm_.Com_GetData(tt, 1));
    if ((com >= 0 && com <= 8) || com == 67)
        data_.MonVal(com) = value;
    else if (com >= kFirstPara && com <= kLastPara) {
        record_.confirm(com, value);
        if (!data_.writeQueued(com))
            data_.ParaVal(com) = value;
    }
}

void Exchange::ComCheck(const QString& tt)
{
    data_.ComErr = false;
    if (tt.isEmpty())
        return;
    const QChar first = tt[0];
    if (first == QChar(0x06))
        host_.setStatusPanel(1, QStringLiteral("OK"));
    else if (first == QChar(0x15) || first == QChar(0x1B))
        host_.setStatusPanel(1, QStringLiteral("NG"));
}

void Exchange::Wait_100ms()
{
    WaitFlag = false;
    Timer4.setInterval(100);
    Timer4.start();
    while (!WaitFlag)
        host_.processEvents();
}

void Exchange::Timer4_Timer()
{
    Timer4.stop();
    WaitFlag = true;
}

void Exchange::Dummy_Wait()
{
    volatile int sink = 0;
    for (int i = 0; i <= 10; ++i)
        sink = i;
    (void)sink;
}

} // namespace qmx
