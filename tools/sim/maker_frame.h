// The maker's protocol as the controller sees it: finding requests in the received bytes and
// building replies. Pure functions over bytes; nothing here knows about ports or registers.
#pragma once

#include "hex.h"

#include <cstdint>
#include <string>

namespace qmxsim::maker {

constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kEsc = 0x1B;

constexpr std::uint8_t kSubAddress = 0x20;
constexpr std::uint8_t kAddressBase = 0x20;
constexpr int kGlobalInstrument = 95;

constexpr std::uint8_t kRead = 0x20;
constexpr std::uint8_t kWrite = 0x50;
constexpr std::uint8_t kMemoRead = 0x60;
constexpr std::uint8_t kSpecialRead1 = 0x61;
constexpr std::uint8_t kSpecialRead2 = 0x62;
constexpr std::uint8_t kSpecialWrite1 = 0x71;
constexpr std::uint8_t kSpecialWrite2 = 0x72;

constexpr std::size_t kReadLength = 11;
constexpr std::size_t kWriteLength = 15;

bool isKnownCommand(std::uint8_t command);
bool carriesData(std::uint8_t command);

// XOR of the bytes; callers pass STX through ETX.
std::uint8_t bcc(const std::uint8_t* begin, const std::uint8_t* end);

struct Request {
    std::uint8_t address = kAddressBase;
    std::uint8_t subAddress = kSubAddress;
    std::uint8_t command = kRead;
    std::string reg;  // the four characters as received (echoed back verbatim)
    std::string data; // four characters for the writing commands, else empty
};

enum class ScanKind {
    Incomplete, // nothing usable yet; keep the bytes after `skipped`
    Frame,      // a request with a good check code
    BadCheck,   // a complete request whose check code is wrong (answered with NAK '1')
    Malformed,  // a complete STX..ETX+BCC frame that is not a request of a known shape
};

struct Scan {
    ScanKind kind = ScanKind::Incomplete;
    std::size_t skipped = 0; // bytes before the frame that belong to no frame
    std::size_t length = 0;  // bytes of the frame itself (Frame, BadCheck, Malformed)
    Request request;
};

// Looks for the first request in `buffer`. A frame runs from STX to ETX plus two BCC digits;
// an STX that is followed by a second STX before any ETX is dropped as noise.
Scan scan(const Bytes& buffer);

Bytes encodeRequest(const Request& request);
// Reply to an accepted request: ACK, address, '0', command, register, data, ETX, BCC.
Bytes encodeAck(const Request& request, std::uint16_t value);
// NAK with an error digit or ESC: lead, address, code, command, register, ETX, BCC.
Bytes encodeRefusal(std::uint8_t lead, char code, const Request& request);

} // namespace qmxsim::maker
