// The timing of one exchange on the open port: discard stale input, (RTU) keep the silent
// interval, send, wait for the first reply byte within the time-out, let the frame complete, resend
// only after a reply that came but was not valid. The waits let timers and sockets run
// (comm/port_wait.h).
#include "comm/velder_comm_impl.h"

#include "comm/comm_log.h"
#include "comm/port_wait.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace qmx {

namespace {

constexpr qint64 kMs = 1'000'000;
constexpr qint64 kFrameSlackNs = 50 * kMs; // scheduling and driver latency on top of wire time
constexpr qint64 kMinQuietNs = 20 * kMs;   // the shortest quiet line after a failed exchange
constexpr qsizetype kMaxReceive = 4096;    // a babbling line must not grow the buffer for ever
constexpr qint64 kWakeUpNs = 200'000;      // how late a sleep of a few milliseconds may wake up

int ceilMs(qint64 ns)
{
    return static_cast<int>(std::clamp<qint64>((ns + kMs - 1) / kMs, 0, 3'600'000));
}

} // namespace

bool Velder_Comm::Impl::open()
{
    if (isOpen())
        return true;
    const QString path = deviceOverride.isEmpty() ? devicePath(port, portMap) : deviceOverride;
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
        qCInfo(lcComm).noquote() << "cannot open" << port << "(" << path
                                 << "):" << sp->errorString();
        return false;
    }
    serial = std::move(sp);
    line = *settings;
    lastLineNs = now();
    return true;
}

void Velder_Comm::Impl::close()
{
    if (serial && serial->isOpen())
        serial->close();
    serial.reset();
}

// A changed setting takes effect at once on an open port.
void Velder_Comm::Impl::reopenIfOpen()
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
bool Velder_Comm::Impl::pull(int waitMs, QByteArray& into)
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
void Velder_Comm::Impl::settleDeferred()
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
void Velder_Comm::Impl::discardStale()
{
    QByteArray junk;
    if (pull(0, junk) && !junk.isEmpty())
        lastLineNs = now();
    serial->clear(QSerialPort::Input);
}

// Modbus RTU tells frames apart by 3.5 silent characters; wait only for what is left of them, and
// no longer: a sleep wakes up a little late, so it stops short and the clock is watched for the
// rest.
void Velder_Comm::Impl::keepSilentInterval()
{
    const qint64 start = now();
    const qint64 left = line.silenceLeftNs(lastLineNs, start);
    const qint64 end = start + left;
    if (left > kWakeUpNs)
        std::this_thread::sleep_for(std::chrono::nanoseconds(left - kWakeUpNs));
    while (now() < end) {
    }
}

bool Velder_Comm::Impl::send(const QByteArray& wire, qint64& requestEnd)
{
    const qint64 start = now();
    qCDebug(lcWire).noquote() << "tx" << wire.toHex(' ');
    if (serial->write(wire) != wire.size()) {
        qCInfo(lcComm).noquote() << "write failed:" << serial->errorString();
        return false;
    }
    // Handed to the driver at once: the port would otherwise keep the bytes until the event loop
    // next runs, and whatever is queued there (a repaint) would go before the request. Only what
    // the driver could not take at once (a full line buffer) is waited for.
    serial->flush();
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
Velder_Comm::Impl::Outcome Velder_Comm::Impl::awaitReply(const frame::Request& req,
                                                         qint64 requestEnd, QString& text)
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
bool Velder_Comm::Impl::waitQuiet()
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

QString Velder_Comm::Impl::exchange(const frame::Request& req, int count)
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

} // namespace qmx
