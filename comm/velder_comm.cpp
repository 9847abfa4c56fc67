// The port owner: the only code that touches QSerialPort. This file holds its settings and its
// public calls; the timing of one exchange is in velder_comm_port.cpp, the framing in frame_*.cpp.
#include "comm/velder_comm.h"

#include "comm/comm_log.h"
#include "comm/velder_comm_impl.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace qmx {

Velder_Comm::Velder_Comm(QObject* parent) : QObject(parent), d(std::make_unique<Impl>()) {}

Velder_Comm::~Velder_Comm()
{
    d->close();
}

QString Velder_Comm::Com_Port() const
{
    return d->port;
}

void Velder_Comm::setCom_Port(const QString& port)
{
    if (d->port == port)
        return;
    d->port = port;
    d->reopenIfOpen();
}

QString Velder_Comm::Com_Speed() const
{
    return d->speed;
}

void Velder_Comm::setCom_Speed(const QString& speed)
{
    if (d->speed == speed)
        return;
    d->speed = speed;
    d->reopenIfOpen();
}

QString Velder_Comm::Com_Databit() const
{
    return d->databit;
}

void Velder_Comm::setCom_Databit(const QString& bits)
{
    if (d->databit == bits)
        return;
    d->databit = bits;
    d->reopenIfOpen();
}

QString Velder_Comm::Com_Stopbit() const
{
    return d->stopbit;
}

void Velder_Comm::setCom_Stopbit(const QString& bits)
{
    if (d->stopbit == bits)
        return;
    d->stopbit = bits;
    d->reopenIfOpen();
}

QString Velder_Comm::Com_Parity() const
{
    return d->parity;
}

void Velder_Comm::setCom_Parity(const QString& parity)
{
    if (d->parity == parity)
        return;
    d->parity = parity;
    d->reopenIfOpen();
}

void Velder_Comm::setCom_TimeOut(int ms)
{
    d->timeoutMs = std::max(0, ms);
}

int Velder_Comm::Com_TimeOut() const
{
    return d->timeoutMs;
}

// The settings take effect when they are set (or at the next open), so the two option calls that
// bracket a change of settings have nothing left to do.
void Velder_Comm::Com_Option1() {}
void Velder_Comm::Com_Option2() {}

void Velder_Comm::setCom_Protocol(int protocol)
{
    d->protocol = protocol;
}

int Velder_Comm::Com_Protocol() const
{
    return d->protocol;
}

bool Velder_Comm::Com_Open()
{
    // Opened again before a waiting exchange ended: the close asked meanwhile is void.
    d->closeWhenDone = false;
    if (!d->open())
        return false;
    d->lost = false;
    return true;
}

void Velder_Comm::Com_Close()
{
    if (d->busy) {
        d->closeWhenDone = true;
        return;
    }
    d->lost = false;
    d->close();
}

bool Velder_Comm::isOpen() const
{
    return d->isOpen();
}

// Every exchange discards stale input and keeps the line timing itself, so the preparation calls
// made before each exchange have nothing to add.
void Velder_Comm::Com_Prep1() {}
void Velder_Comm::Com_Prep2() {}

QString Velder_Comm::Com_Send(const QString& address, const QString& subAddress,
                              const QString& command, const QString& registerCode,
                              const QString& data, int count)
{
    if (!d->isOpen()) {
        if (!d->lost || !d->open())
            return {};
        d->lost = false;
    }
    const auto request =
        frame::buildRequest(d->protocol, address, subAddress, command, registerCode, data);
    if (!request) {
        qCInfo(lcComm).noquote() << "request not sent: no frame for address" << address << "command"
                                 << command << "register" << registerCode;
        return {};
    }
    if (d->busy) {
        qCInfo(lcComm) << "request not sent: another exchange is waiting for its reply";
        return {};
    }
    d->busy = true;
    QString reply = d->exchange(*request, count);
    d->busy = false;
    d->settleDeferred();
    return reply;
}

QString Velder_Comm::Com_GetData(const QString& reply, int field) const
{
    return field == 1 ? frame::replyData(reply) : QString();
}

void Velder_Comm::setPortMap(const QMap<QString, QString>& ports)
{
    if (d->portMap == ports)
        return;
    d->portMap = ports;
    d->reopenIfOpen();
}

QString Velder_Comm::devicePath(const QString& port, const QMap<QString, QString>& ports)
{
    static const QRegularExpression comName(QStringLiteral("^COM([1-8])$"));
    const QRegularExpressionMatch m = comName.match(port);
    if (!m.hasMatch())
        return {};
    const QString dir = qEnvironmentVariable("QMX_PORT_DIR");
    if (!dir.isEmpty())
        return QDir(dir).filePath(port);
    const int n = m.captured(1).toInt();
    return ports.value(port, QStringLiteral("/dev/ttyUSB%1").arg(n - 1));
}

void Velder_Comm::setDeviceOverride(const QString& path)
{
    if (d->deviceOverride == path)
        return;
    d->deviceOverride = path;
    d->reopenIfOpen();
}

} // namespace qmx
