// The wire log: one JSON object per line for every frame that crossed a port, so tests can judge
// what the program really sent. Each line is flushed at once; a reader may follow the file live.
#pragma once

#include "hex.h"

#include <cstdio>
#include <string>

namespace qmxsim {

struct WireEntry {
    std::string port;
    std::string dir;   // "rx" (from the program) or "tx" (to the program)
    std::string proto; // "maker", "ascii", "rtu"
    Bytes bytes;
    std::string cmd;  // command byte or function code, two hex digits
    std::string reg;  // four hex digits
    std::string data; // four hex digits
    std::string note; // "ack", "nak", "garbage", "wrong-speed", ...
};

std::string jsonEscape(const std::string& text);

class WireLog {
public:
    WireLog() = default;
    ~WireLog();
    WireLog(const WireLog&) = delete;
    WireLog& operator=(const WireLog&) = delete;

    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    void frame(double t, const WireEntry& entry);
    void marker(double t, const std::string& text);
    void event(double t, const std::string& port, const std::string& what);

private:
    void line(const std::string& text);
    std::FILE* file_ = nullptr;
};

} // namespace qmxsim
