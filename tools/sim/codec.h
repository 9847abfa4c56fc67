// Between frames and the controller: turns a request frame of either protocol into a
// protocol-neutral command and the controller's answer back into reply bytes.
#pragma once

#include "controller.h"
#include "maker_frame.h"
#include "modbus_frame.h"

#include <optional>
#include <string>

namespace qmxsim {

struct Decoded {
    Command command;
    bool forUs = false;  // addressed to this instrument, or global
    bool global = false; // instrument 95 / Modbus address 0: act, never answer
    bool writing = false;
    std::string cmd, reg, data; // for the wire log
};

Decoded decodeMaker(const maker::Request& request, int instrument);
// nullopt for a frame that is not a request this controller understands the shape of.
std::optional<Decoded> decodeModbus(const modbus::Pdu& pdu, int instrument);

// The NAK digit for a verdict ('1'..'6'); 0 for Ack and for NotExecutable (answered with ESC).
char nakDigit(Verdict verdict);
std::uint8_t exceptionCode(Verdict verdict);

// Reply bytes and the note for the wire log.
struct Reply {
    Bytes bytes;
    std::string note;
    std::string data;
};
Reply makerReply(const maker::Request& request, const Answer& answer);
Reply makerRefusal(const maker::Request& request, std::uint8_t lead, char digit);
Reply modbusReply(Protocol protocol, const modbus::Pdu& request, const Answer& answer);
Reply modbusException(Protocol protocol, const modbus::Pdu& request, std::uint8_t code);

} // namespace qmxsim
