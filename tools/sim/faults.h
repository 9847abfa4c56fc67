// Faults the tests switch on: for one port, for one register or every register ("*"), for the
// next N requests or until cleared. The port asks for the fault that applies to each request.
#pragma once

#include "controller.h"
#include "hex.h"

#include <optional>
#include <string>
#include <vector>

namespace qmxsim {

enum class FaultKind {
    Silence,    // the request is taken and never answered
    Delay,      // the answer comes `ms` later
    Late,       // the answer comes after the requester has given up (default 1000 ms)
    Garble,     // the answer is damaged (`how`)
    Nak,        // refused with error digit `code` (maker's protocol)
    Esc,        // escape reply
    Exception,  // Modbus exception `code`
    Busy,       // the front keys are being operated (writes only)
    AutoTuning, // auto-tuning appears to run
    PowerCycle, // the controller restarts instead of answering
    Unplug,     // the cable is pulled instead of answering
};

enum class Garble { Check, Truncate, Address, Echo };

struct Fault {
    int id = 0;
    FaultKind kind = FaultKind::Silence;
    std::optional<std::uint16_t> reg; // nullopt: every register
    int remaining = 1;                // requests still to affect; -1: until cleared
    int ms = 0;
    int code = 0;
    Garble how = Garble::Check;
};

std::optional<FaultKind> faultKindFromName(const std::string& name);
std::string faultKindName(FaultKind kind);
std::optional<Garble> garbleFromName(const std::string& name);
std::string garbleName(Garble how);
int defaultFaultMs(FaultKind kind);

class FaultList {
public:
    int add(Fault fault);
    void clear() { faults_.clear(); }
    const std::vector<Fault>& faults() const { return faults_; }
    // The first fault that applies to this request, counted down by one.
    std::optional<Fault> take(std::uint16_t reg, bool writing);

private:
    std::vector<Fault> faults_;
    int nextId_ = 1;
};

// Damages a finished reply the way `how` says; every other part of the frame stays valid, so
// only the damage named can make the requester refuse it.
Bytes garbleReply(Protocol protocol, const Bytes& reply, Garble how);

// Error digit of the maker's NAK and the Modbus exception code that say the same thing.
std::uint8_t exceptionForNakDigit(int digit);
int nakDigitForException(std::uint8_t code);

} // namespace qmxsim
