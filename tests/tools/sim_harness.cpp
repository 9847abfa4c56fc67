#include "sim_harness.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace simtest {

double monotonicMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

Bytes hex(const std::string& text)
{
    return *qmxsim::fromHex(text);
}

Bytes makerRequest(int instrument, std::uint8_t command, const std::string& reg,
                   const std::string& data)
{
    Bytes f{0x02, static_cast<std::uint8_t>(0x20 + instrument), 0x20, command};
    // Copied, not range-inserted: GCC 12 falsely warns the insert after a braced head overflows.
    std::copy(reg.begin(), reg.end(), std::back_inserter(f));
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(0x03);
    std::uint8_t x = 0;
    for (const std::uint8_t b : f)
        x ^= b;
    const char* digits = "0123456789ABCDEF";
    f.push_back(static_cast<std::uint8_t>(digits[x >> 4]));
    f.push_back(static_cast<std::uint8_t>(digits[x & 0x0F]));
    return f;
}

bool exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

SimProcess::SimProcess(const std::vector<std::string>& args)
{
    char templ[] = "/tmp/qmx-sim-test-XXXXXX";
    if (!::mkdtemp(templ))
        return;
    dir_ = templ;
    std::vector<std::string> argv = {QMX_SIM_BINARY, "--dir",     dir_,       "--log",
                                     logPath(),      "--control", path("ctl")};
    argv.insert(argv.end(), args.begin(), args.end());
    int out[2];
    if (::pipe(out) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> raw;
        for (std::string& a : argv)
            raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        std::_Exit(127);
    }
    ::close(out[1]);
    stdout_ = out[0];
    std::string seen;
    const double until = monotonicMs() + 5000;
    while (monotonicMs() < until && seen.find("READY\n") == std::string::npos) {
        pollfd p{stdout_, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char buf[64];
            const ssize_t n = ::read(stdout_, buf, sizeof buf);
            if (n <= 0)
                break;
            seen.append(buf, static_cast<std::size_t>(n));
        }
    }
    ready_ = seen.find("READY\n") != std::string::npos;
}

SimProcess::~SimProcess()
{
    terminate();
    if (!dir_.empty()) {
        ::unlink(logPath().c_str());
        ::unlink(path("ctl").c_str());
        ::rmdir(dir_.c_str());
    }
}

int SimProcess::terminate()
{
    if (pid_ <= 0)
        return 0;
    ::kill(pid_, SIGTERM);
    int status = 0;
    const double until = monotonicMs() + 5000;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (monotonicMs() > until) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    if (stdout_ >= 0)
        ::close(stdout_);
    stdout_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string SimProcess::control(const std::string& json) const
{
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path("ctl").c_str(), sizeof addr.sun_path - 1);
    if (::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(s);
        return "";
    }
    const std::string line = json + "\n";
    if (::write(s, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        ::close(s);
        return "";
    }
    std::string reply;
    const double until = monotonicMs() + 3000;
    while (reply.find('\n') == std::string::npos && monotonicMs() < until) {
        pollfd p{s, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        char buf[4096];
        const ssize_t n = ::read(s, buf, sizeof buf);
        if (n <= 0)
            break;
        reply.append(buf, static_cast<std::size_t>(n));
    }
    ::close(s);
    if (const auto nl = reply.find('\n'); nl != std::string::npos)
        reply.resize(nl);
    return reply;
}

std::vector<std::string> SimProcess::logLines() const
{
    std::vector<std::string> lines;
    std::ifstream in(logPath());
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

Line::Line(const std::string& path, speed_t speed, bool sevenBits)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return;
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | CSTOPB | PARODD | PARENB);
    t.c_cflag |= CLOCAL | CREAD | (sevenBits ? (CS7 | PARENB) : CS8);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    ::tcsetattr(fd_, TCSANOW, &t);
    ::tcflush(fd_, TCIOFLUSH);
}

Line::~Line()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void Line::send(const Bytes& bytes)
{
    if (fd_ >= 0) [[maybe_unused]]
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
}

Bytes Line::receive(std::size_t count, int timeoutMs)
{
    Bytes out;
    const double until = monotonicMs() + timeoutMs;
    while (fd_ >= 0 && out.size() < count) {
        const int left = static_cast<int>(until - monotonicMs());
        if (left <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, left) <= 0)
            continue;
        std::uint8_t buf[256];
        const ssize_t n = ::read(fd_, buf, std::min(sizeof buf, count - out.size()));
        if (n < 0 && errno == EAGAIN)
            continue;
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

Bytes Line::receiveQuiet(int quietMs)
{
    Bytes out;
    for (;;) {
        const Bytes more = receive(256, quietMs);
        if (more.empty())
            return out;
        out.insert(out.end(), more.begin(), more.end());
    }
}

Bytes Line::exchange(const Bytes& request, std::size_t replyLength, int timeoutMs)
{
    send(request);
    return receive(replyLength, timeoutMs);
}

} // namespace simtest
