// The port owner: the only code that touches QSerialPort. Framing lives in frame_*.cpp; this file
// is the timing of one exchange: discard stale input, (RTU) keep the silent interval, send, wait
// for the first reply byte within the time-out, let the frame complete, resend only after a reply
// that came but was not valid.
#include "comm/velder_comm.h"

#include "comm/comm_log.h"
#include "comm/frame_codec.h"
#include "comm/line_settings.h"
#include "comm/port_wait.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSettings>

#include <algorithm>
#include <chrono>
#include <thread>

namespace qmx {

namespace {

constexpr qint64 kMs = 1'000'000;
constexpr qint64 kFrameSlackNs = 50 * kMs; // scheduling and driver latency on top of wire time
constexpr qint64 kMinQuietNs = 20 * kMs;   // the shortest quiet line after a failed exchange
constexpr qsizetype kMaxReceive = 4096;    // a babbling line must not grow the buffer for ever

int ceilMs(qint64 ns)
{
    return static_cast<int>(std::clamp<qint64>((ns + kMs - 1) / kMs, 0, 3'600'000));
}

} // namespace

struct Velder_Comm::Impl {
    QString port = QStringLiteral("COM1");
    QString speed = QStringLiteral("9600");
    QString databit = QStringLiteral("7");
    QString stopbit = QStringLiteral("1");
    QString parity = QStringLiteral("EVEN");
    QString deviceOverride;
    int timeoutMs = 300;
    int protocol = frame::kComMaker;

    std::unique_ptr<QSerialPort> serial;
    LineSettings line;
    QElapsedTimer clock;
    qint64 lastLineNs = 0; // the last byte seen or sent on the line
    // The port went away under an exchange (a USB adapter pulled): the next exchange tries to open
    // it again, so the link comes back by itself when the device does.
    bool lost = false;
    // An exchange is waiting for the controller. Its waits let timers and sockets run, so a call
    // made from one of them must not disturb the port under it: another exchange is refused, and
    // a close or a changed setting waits until the exchange has ended.
    bool busy = false;
    bool closeWhenDone = false;
    bool reopenWhenDone = false;

    enum class Outcome { Accepted, Silence, Invalid, PortLost };

    Impl() { clock.start(); }
    qint64 now() const { return clock.nsecsElapsed(); }
    bool isOpen() const { return serial && serial->isOpen(); }

    bool open()
    {
        if (isOpen())
            return true;
        const QString path = deviceOverride.isEmpty() ? devicePath(port) : deviceOverride;
        const auto settings = parseLineSettings(speed, databit, stopbit, parity);
        if (path.isEmpty() || !settings) {
            qCInfo(lcComm).noquote() << "cannot open" << port << "(" << path << "): line settings"
                                     << speed << databit << stopbit << parity << "not usable";
            return false;
        }
        auto sp = std::make_unique<QSerialPort>();
        sp->setPortName(path);
        sp->setBaudRate(settings->baud);
        sp->setDataBits(settings->dataBits);
        sp->setParity(settings->parity);
        sp->setStopBits(settings->stopBits);
        sp->setFlowControl(QSerialPort::NoFlowControl);
        if (!sp->open(QIODevice::ReadWrite)) {
            // The operator sees only that no link came up; the reason (no such device, no
            // permission, in use) is kept for whoever has to find out why.
            qCInfo(lcComm).noquote()
                << "cannot open" << port << "(" << path << "):" << sp->errorString();
            return false;
        }
        serial = std::move(sp);
        line = *settings;
        lastLineNs = now();
        return true;
    }

    void close()
    {
        if (serial && serial->isOpen())
            serial->close();
        serial.reset();
    }

    // A changed setting takes effect at once on an open port.
    void reopenIfOpen()
    {
        if (!isOpen())
            return;
        if (busy) {
            reopenWhenDone = true;
            return;
        }
        close();
        open();
    }

    // Waits up to `waitMs` for bytes and appends them to `into`; false when the port failed.
    bool pull(int waitMs, QByteArray& into)
    {
        serial->clearError();
        if (serial->bytesAvailable() == 0 && !waitForReadyReadLettingEventsRun(*serial, waitMs)) {
            const auto e = serial->error();
            return e == QSerialPort::TimeoutError || e == QSerialPort::NoError;
        }
        into += serial->readAll();
        return true;
    }

    // What was asked while an exchange waited, done now that it has ended.
    void settleDeferred()
    {
        if (closeWhenDone) {
            closeWhenDone = reopenWhenDone = false;
            lost = false;
            close();
        } else if (reopenWhenDone) {
            reopenWhenDone = false;
            reopenIfOpen();
        }
    }

    // Whatever is waiting now answers an earlier request, never this one.
    void discardStale()
    {
        QByteArray junk;
        if (pull(0, junk) && !junk.isEmpty())
            lastLineNs = now();
        serial->clear(QSerialPort::Input);
    }

    // Modbus RTU tells frames apart by 3.5 silent characters; wait only for what is left of them.
    void keepSilentInterval()
    {
        const qint64 left = line.silenceLeftNs(lastLineNs, now());
        if (left > 0)
            std::this_thread::sleep_for(std::chrono::nanoseconds(left));
    }

    bool send(const QByteArray& wire, qint64& requestEnd)
    {
        const qint64 start = now();
        qCDebug(lcWire).noquote() << "tx" << wire.toHex(' ');
        if (serial->write(wire) != wire.size()) {
            qCInfo(lcComm).noquote() << "write failed:" << serial->errorString();
            return false;
        }
        const int writeWaitMs = ceilMs(line.charsNs(wire.size())) + 1000;
        while (serial->bytesToWrite() > 0)
            if (!waitForBytesWrittenLettingEventsRun(*serial, writeWaitMs))
                return false;
        // The driver takes the bytes at once; the line needs their wire time to carry them.
        requestEnd = std::max(now(), start + line.charsNs(wire.size()));
        lastLineNs = requestEnd;
        return true;
    }

    // The first reply byte must come within the time-out; a frame begun inside it may take its
    // wire time (+2 characters) + 50 ms to complete. Invalid frames are dropped and the wait goes
    // on, so a late answer to an earlier request is never taken for this one.
    Outcome awaitReply(const frame::Request& req, qint64 requestEnd, QString& text)
    {
        const qint64 window = requestEnd + timeoutMs * kMs;
        const qint64 allowance = line.charsNs(req.maxReplyLength + 2) + kFrameSlackNs;
        qint64 deadline = window;
        QByteArray rx;
        for (;;) {
            const qint64 left = deadline - now();
            if (left <= 0)
                break;
            QByteArray chunk;
            if (!pull(ceilMs(left), chunk)) {
                qCInfo(lcComm).noquote() << "port lost while waiting:" << serial->errorString();
                return Outcome::PortLost;
            }
            if (chunk.isEmpty())
                continue;
            qCDebug(lcWire).noquote() << "rx" << chunk.toHex(' ');
            const qint64 t = now();
            lastLineNs = t;
            if (t <= window)
                deadline = std::max(deadline, t + allowance);
            rx += chunk;
            if (rx.size() > kMaxReceive)
                rx.remove(0, rx.size() - kMaxReceive / 2);
            const frame::ReplyScan scan = frame::scanReply(protocol, req.wire, rx);
            if (scan.accepted) {
                text = scan.text;
                return Outcome::Accepted;
            }
        }
        if (rx.isEmpty())
            qCInfo(lcComm) << "no reply within" << timeoutMs << "ms";
        else
            qCInfo(lcComm).noquote() << "reply rejected:" << rx.toHex(' ');
        return rx.isEmpty() ? Outcome::Silence : Outcome::Invalid;
    }

    // After a failed exchange, let the rest of any frame pass before the next request goes out.
    bool waitQuiet()
    {
        const qint64 quiet = std::max(line.t35Ns(), kMinQuietNs);
        const qint64 giveUp = now() + quiet + std::max(timeoutMs, 500) * kMs;
        for (;;) {
            const qint64 left = lastLineNs + quiet - now();
            if (left <= 0 || now() >= giveUp)
                return true;
            QByteArray junk;
            if (!pull(ceilMs(left), junk))
                return false;
            if (!junk.isEmpty())
                lastLineNs = now();
        }
    }

    QString exchange(const frame::Request& req, int count)
    {
        const int sends = std::max(1, count);
        for (int n = 0; n < sends; ++n) {
            discardStale();
            if (protocol == frame::kComModbusRtu)
                keepSilentInterval();
            qint64 requestEnd = 0;
            if (!send(req.wire, requestEnd)) {
                close();
                lost = true;
                return {};
            }
            if (!req.expectsReply)
                return {};
            QString text;
            const Outcome outcome = awaitReply(req, requestEnd, text);
            // The port was closed while we waited: whatever came is no longer wanted.
            if (closeWhenDone)
                return {};
            if (outcome == Outcome::Accepted)
                return text;
            if (outcome == Outcome::PortLost || !waitQuiet()) {
                close();
                lost = true;
                return {};
            }
            // Silence is not worth a repeat: a controller that did not hear us once will not
            // hear us faster, and the callers have their own repeat rules.
            if (outcome == Outcome::Silence)
                return {};
        }
        return {};
    }
};

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

QString Velder_Comm::devicePath(const QString& port)
{
    static const QRegularExpression comName(QStringLiteral("^COM([1-8])$"));
    const QRegularExpressionMatch m = comName.match(port);
    if (!m.hasMatch())
        return {};
    const QString dir = qEnvironmentVariable("QMX_PORT_DIR");
    if (!dir.isEmpty())
        return QDir(dir).filePath(port);
    const int n = m.captured(1).toInt();
    QSettings settings;
    settings.beginGroup(QStringLiteral("Ports"));
    return settings.value(port, QStringLiteral("/dev/ttyUSB%1").arg(n - 1)).toString();
}

void Velder_Comm::setDeviceOverride(const QString& path)
{
    if (d->deviceOverride == path)
        return;
    d->deviceOverride = path;
    d->reopenIfOpen();
}

} // namespace qmx
