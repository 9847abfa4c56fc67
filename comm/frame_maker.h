// The maker's own framing ("Velder").
//
// Request: STX, address (0x20 + instrument), sub-address, command, register code as 4 hex digits,
// data as 4 hex digits (writes only), ETX, BCC as 2 hex digits (XOR of STX through ETX).
// Reply: ACK/NAK/ESC, address echo, '0' or the error digit, command echo, register echo, 4 data
// digits (ACK only), ETX, BCC (XOR of the first byte through ETX).
#pragma once

#include "comm/frame_types.h"

#include <optional>

namespace qmx::frame {

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kAck = 0x06;
inline constexpr char kNak = 0x15;
inline constexpr char kEsc = 0x1B;
// Instrument 95: every controller on the line takes the request and none answers.
inline constexpr char kMakerGlobalAddress = 0x7F;

// XOR of the bytes, the maker's block check.
quint8 makerBcc(const QByteArray& bytes);

// A request from the mapped arguments: address and sub-address one character each, command one of
// ' ' (read), 'P' (write), 0x60/0x61/0x62 (special reads), 0x71/0x72 (special writes). Reads carry
// no data, writes exactly 4 hex digits. Anything else cannot be framed: nullopt, nothing is sent.
std::optional<Request> makerRequest(const QString& address, const QString& subAddress,
                                    const QString& command, const QString& registerCode,
                                    const QString& data);

// Looks through everything received since the request for a reply that answers it. Bytes before,
// between or after are ignored; a frame with a bad BCC, a wrong echo or a wrong length never
// counts. The accepted text runs from ACK/NAK/ESC through ETX (the BCC is dropped once checked).
ReplyScan makerScan(const QByteArray& request, const QByteArray& received);

} // namespace qmx::frame
