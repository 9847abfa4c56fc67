// One pseudo-terminal standing in for a serial cable: the master end is ours, the slave end is
// what the program opens through the link DIR/COMn. Plain POSIX, no Qt.
#pragma once

#include "hex.h"

#include <string>

namespace qmxsim {

struct LineSettings {
    int speed = 0;        // baud, 0 when the pty carries a speed we do not know
    int bitsPerChar = 10; // start + data + parity + stop bits
};

class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // Opens a new pty and links `linkPath` to its slave. Returns false (with `error`) on failure.
    bool open(const std::string& linkPath, std::string& error);
    // Closes both ends and removes the link: to the program it is a cable pulled out.
    void close();
    bool isOpen() const { return master_ >= 0; }
    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // Bytes waiting on the master; empty when none (or on error).
    Bytes readAvailable();
    bool write(const Bytes& bytes);
    // The settings the program last gave the slave end.
    LineSettings lineSettings() const;

private:
    int master_ = -1;
    int slave_ = -1; // held open so the master never sees a hang-up between the program's opens
    std::string slavePath_;
    std::string linkPath_;
};

int speedFromTermios(unsigned code);

} // namespace qmxsim
