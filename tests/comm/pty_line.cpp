#include "pty_line.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace testline {

PtyPair::PtyPair(const QString& name) : name_(name)
{
    if (!dir_.isValid())
        return;
    socat_.setProgram(QStringLiteral("socat"));
    socat_.setArguments({QStringLiteral("pty,raw,echo=0,link=%1").arg(programSide()),
                         QStringLiteral("pty,raw,echo=0,link=%1").arg(peerSide())});
    socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    socat_.start();
    if (!socat_.waitForStarted(3000))
        return;
    for (int i = 0; i < 300; ++i) {
        if (QFileInfo::exists(programSide()) && QFileInfo::exists(peerSide())) {
            ok_ = true;
            return;
        }
        QThread::msleep(10);
    }
}

PtyPair::~PtyPair()
{
    stop();
}

void PtyPair::stop()
{
    if (socat_.state() != QProcess::NotRunning) {
        socat_.terminate();
        if (!socat_.waitForFinished(2000)) {
            socat_.kill();
            socat_.waitForFinished(2000);
        }
    }
}

QString PtyPair::programSide() const
{
    return QDir(dir_.path()).filePath(name_);
}

QString PtyPair::peerSide() const
{
    return QDir(dir_.path()).filePath(QStringLiteral("peer"));
}

std::vector<QByteArray> takeFrames(QByteArray& buffer)
{
    std::vector<QByteArray> frames;
    for (;;) {
        if (buffer.isEmpty())
            return frames;
        qsizetype length = 0;
        if (buffer[0] == peer::STX) {
            const qsizetype etx = buffer.indexOf(peer::ETX);
            if (etx >= 0 && buffer.size() >= etx + 3)
                length = etx + 3;
        } else if (buffer[0] == ':') {
            const qsizetype lf = buffer.indexOf('\n');
            if (lf >= 0)
                length = lf + 1;
        } else if (buffer.size() >= 8) {
            length = 8; // our Modbus RTU requests (03 and 06) are all 8 bytes
        }
        if (length == 0)
            return frames;
        frames.push_back(buffer.left(length));
        buffer.remove(0, length);
    }
}

ScriptedPeer::ScriptedPeer(const QString& path, Handler handler) : handler_(std::move(handler))
{
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd_ < 0)
        return;
    termios t{};
    if (tcgetattr(fd_, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
    thread_ = std::thread([this] { run(); });
}

ScriptedPeer::~ScriptedPeer()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (fd_ >= 0)
        ::close(fd_);
}

std::vector<Seen> ScriptedPeer::seen() const
{
    std::lock_guard lock(mutex_);
    return seen_;
}

size_t ScriptedPeer::count() const
{
    std::lock_guard lock(mutex_);
    return seen_.size();
}

void ScriptedPeer::inject(const QByteArray& bytes)
{
    writeAll(bytes);
}

void ScriptedPeer::writeAll(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return;
        done += n;
    }
}

void ScriptedPeer::run()
{
    QByteArray buffer;
    while (!stop_) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN))
            continue;
        char chunk[256];
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n <= 0)
            continue;
        buffer.append(chunk, n);
        for (const QByteArray& frame : takeFrames(buffer)) {
            const Seen s{peer::decode(frame), Clock::now()};
            {
                std::lock_guard lock(mutex_);
                seen_.push_back(s);
            }
            for (const Piece& piece : handler_(s.request)) {
                if (piece.delayMs > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(piece.delayMs));
                writeAll(piece.bytes);
            }
        }
    }
}

} // namespace testline
