// How a reply to an ordinary read or write is judged. Callers act on the verdict as their own
// routine says (message, repeat, restore a value).
#pragma once

#include <QString>

namespace qmx {

enum class Verdict {
    NoAnswer, // empty reply
    Accepted, // maker ACK; Modbus function echo
    Busy,     // the controller's front keys are in use: maker NAK '5'; Modbus exception 12
    Refused,  // maker NAK with another code; Modbus exception 83/86 with another code
    Other     // maker ESC or anything else; Modbus any other function code
};

// `protocol` as in QmxData::Protocol (0 maker's, 1 Modbus ASCII, 2 Modbus RTU); `function` the
// request's Modbus function, "03" or "06" (unused for the maker's protocol).
Verdict judgeReply(int protocol, const QString& reply, const QString& function);

// "OK" or "NG" for status-bar panel 1; empty for no answer.
QString verdictText(Verdict v);

// A signed 16-bit value as the four upper-case hex digits the controller takes (-1 is "FFFF").
QString toHex4(int value);
// Four hex digits read as a signed 16-bit value ("FFFF" is -1); empty or malformed text gives 0.
qint16 fromHex4(const QString& digits);

} // namespace qmx
