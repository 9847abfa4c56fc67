// Runs the real qmx-sim binary and talks to it the way a serial program would: plain POSIX
// termios I/O on the pty link, and raw JSON lines on the control socket.
#pragma once

#include "hex.h"

#include <string>
#include <sys/types.h>
#include <termios.h>
#include <vector>

namespace simtest {

using qmxsim::Bytes;

class SimProcess {
public:
    // Starts qmx-sim --dir <temp> --log <temp>/wire.log --control <temp>/ctl plus `args`,
    // and waits for READY.
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool ready() const { return ready_; }
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::string logPath() const { return path("wire.log"); }
    // Sends one command line, returns the reply line ("" when there was none).
    std::string control(const std::string& json) const;
    // SIGTERM, then the exit status (-1 when it had to be killed).
    int terminate();
    std::vector<std::string> logLines() const;

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    bool ready_ = false;
    std::string dir_;
};

class Line {
public:
    // 7E1 by default; RTU needs eight data bits (`sevenBits` false gives 8N1).
    explicit Line(const std::string& path, speed_t speed = B9600, bool sevenBits = true);
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void send(const Bytes& bytes);
    // Reads until `count` bytes came or `timeoutMs` passed.
    Bytes receive(std::size_t count, int timeoutMs = 1000);
    // Reads until nothing more comes for `quietMs`.
    Bytes receiveQuiet(int quietMs = 150);
    Bytes exchange(const Bytes& request, std::size_t replyLength, int timeoutMs = 1000);

private:
    int fd_ = -1;
};

Bytes hex(const std::string& text);
// A maker's-protocol request built here, BCC included, independently of the simulator's code.
Bytes makerRequest(int instrument, std::uint8_t command, const std::string& reg,
                   const std::string& data = "");
bool exists(const std::string& path);
double monotonicMs();

} // namespace simtest
