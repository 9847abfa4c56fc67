// A serial line for tests: a socat pseudo-terminal pair linked as DIR/COMn (the program's side) and
// DIR/peer, and a scripted peer on the far end that reads each request as a controller would and
// answers as the test says: at once, late, in pieces, damaged, or not at all.
#pragma once

#include "peer_codec.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace testline {

using Clock = std::chrono::steady_clock;

// Points QMX_PORT_DIR at a directory for the life of the object.
class PortDir {
public:
    explicit PortDir(const QString& dir) : old_(qgetenv("QMX_PORT_DIR"))
    {
        qputenv("QMX_PORT_DIR", dir.toLocal8Bit());
    }
    ~PortDir() { qputenv("QMX_PORT_DIR", old_); }

private:
    QByteArray old_;
};

class PtyPair {
public:
    // Links DIR/<name> and DIR/peer; ok() is false when socat could not be started.
    explicit PtyPair(const QString& name = QStringLiteral("COM1"));
    ~PtyPair();
    // Ends socat: both pseudo-terminals go away under whoever holds them open.
    void stop();
    bool ok() const { return ok_; }
    QString dir() const { return dir_.path(); }
    QString programSide() const;
    QString peerSide() const;

private:
    QTemporaryDir dir_;
    QString name_;
    QProcess socat_;
    bool ok_ = false;
};

// One piece of an answer: `bytes` are written `delayMs` after the previous piece (the first after
// the request was read).
struct Piece {
    QByteArray bytes;
    int delayMs = 0;
};

struct Seen {
    peer::Decoded request;
    Clock::time_point at;
};

class ScriptedPeer {
public:
    using Handler = std::function<std::vector<Piece>(const peer::Decoded& request)>;

    ScriptedPeer(const QString& path, Handler handler);
    ~ScriptedPeer();
    bool ok() const { return fd_ >= 0; }
    std::vector<Seen> seen() const;
    size_t count() const;
    // Bytes sent on the line with no request: noise, or a reply nobody asked for.
    void inject(const QByteArray& bytes);

private:
    void run();
    void writeAll(const QByteArray& bytes);

    int fd_ = -1;
    Handler handler_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Seen> seen_;
    std::thread thread_;
};

// Splits a buffer into request frames of any of the three framings; unknown bytes are dropped.
std::vector<QByteArray> takeFrames(QByteArray& buffer);

} // namespace testline
