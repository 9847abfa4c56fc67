// The inside of the port owner, shared by its two files: velder_comm.cpp (the settings and the
// public calls) and velder_comm_port.cpp (the timing of one exchange on the open port).
// Nothing outside Velder_Comm includes this.
#pragma once

#include "comm/frame_codec.h"
#include "comm/line_settings.h"
#include "comm/velder_comm.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <memory>

namespace qmx {

struct Velder_Comm::Impl {
    QString port = QStringLiteral("COM1");
    QString speed = QStringLiteral("9600");
    QString databit = QStringLiteral("7");
    QString stopbit = QStringLiteral("1");
    QString parity = QStringLiteral("EVEN");
    QString deviceOverride;
    QMap<QString, QString> portMap; // "COMn" -> device path, from the saved settings
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

    // Opens the port of `port` (or the override) with the line settings; true when it is open.
    bool open();
    void close();

    // A changed setting takes effect at once on an open port.
    void reopenIfOpen();

    // Waits up to `waitMs` for bytes and appends them to `into`; false when the port failed.
    bool pull(int waitMs, QByteArray& into);

    // What was asked while an exchange waited, done now that it has ended.
    void settleDeferred();

    // Whatever is waiting now answers an earlier request, never this one.
    void discardStale();

    // Modbus RTU tells frames apart by 3.5 silent characters; wait only for what is left of them.
    void keepSilentInterval();

    // Sends the request; `requestEnd` is when its last byte has left on the line.
    bool send(const QByteArray& wire, qint64& requestEnd);

    // The first reply byte must come within the time-out; a frame begun inside it may take its
    // wire time (+2 characters) + 50 ms to complete. Invalid frames are dropped and the wait goes
    // on, so a late answer to an earlier request is never taken for this one.
    Outcome awaitReply(const frame::Request& req, qint64 requestEnd, QString& text);

    // After a failed exchange, let the rest of any frame pass before the next request goes out.
    bool waitQuiet();

    // One request and its reply, sent up to `count` times; "" when no valid reply came.
    QString exchange(const frame::Request& req, int count);
};

} // namespace qmx
