#include "pty_device.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace qmxsim {

namespace {
std::string errnoText(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}
} // namespace

int speedFromTermios(unsigned code)
{
    switch (code) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

PtyDevice::~PtyDevice()
{
    close();
}

bool PtyDevice::open(const std::string& linkPath, std::string& error)
{
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = errnoText("posix_openpt");
        return false;
    }
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = errnoText("grantpt/unlockpt");
        close();
        return false;
    }
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error = errnoText("ptsname_r");
        close();
        return false;
    }
    slavePath_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = errnoText("open slave");
        close();
        return false;
    }
    // Raw from the start: with the default line discipline our replies would be echoed back
    // to us, and CR/LF would be rewritten, before the program has set the line up.
    termios t{};
    ::tcgetattr(slave_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);

    ::unlink(linkPath.c_str());
    if (::symlink(name, linkPath.c_str()) != 0) {
        error = errnoText("symlink");
        close();
        return false;
    }
    linkPath_ = linkPath;
    return true;
}

void PtyDevice::close()
{
    if (!linkPath_.empty()) {
        ::unlink(linkPath_.c_str());
        linkPath_.clear();
    }
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = -1;
    master_ = -1;
    slavePath_.clear();
}

Bytes PtyDevice::readAvailable()
{
    Bytes out;
    if (master_ < 0)
        return out;
    std::uint8_t buf[512];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

bool PtyDevice::write(const Bytes& bytes)
{
    if (master_ < 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

LineSettings PtyDevice::lineSettings() const
{
    LineSettings s;
    termios t{};
    if (slave_ < 0 || ::tcgetattr(slave_, &t) != 0)
        return s;
    s.speed = speedFromTermios(::cfgetospeed(&t));
    int data = 8;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        data = 5;
        break;
    case CS6:
        data = 6;
        break;
    case CS7:
        data = 7;
        break;
    default:
        data = 8;
    }
    s.bitsPerChar = 1 + data + ((t.c_cflag & PARENB) ? 1 : 0) + ((t.c_cflag & CSTOPB) ? 2 : 1);
    return s;
}

} // namespace qmxsim
