// Modbus ASCII and RTU as the controller sees them: finding requests in the received bytes and
// building replies. Pure functions over bytes, written apart from the program's own library.
#pragma once

#include "hex.h"

#include <cstdint>

namespace qmxsim::modbus {

constexpr std::uint8_t kReadHolding = 0x03;
constexpr std::uint8_t kWriteSingle = 0x06;
constexpr std::uint8_t kExceptionFlag = 0x80;
constexpr std::uint8_t kBroadcast = 0x00;

constexpr std::uint8_t kIllegalFunction = 0x01;
constexpr std::uint8_t kIllegalAddress = 0x02;
constexpr std::uint8_t kIllegalValue = 0x03;
constexpr std::uint8_t kRefusedInState = 0x04;
constexpr std::uint8_t kKeysBusy = 0x12;

// Two's complement of the byte sum.
std::uint8_t lrc(const std::uint8_t* data, std::size_t size);
// CRC-16/MODBUS (poly 0xA001 reflected, init 0xFFFF); sent low byte first.
std::uint16_t crc16(const std::uint8_t* data, std::size_t size);

// Address, function and the bytes after the function, without any check code.
struct Pdu {
    std::uint8_t address = 0;
    std::uint8_t function = 0;
    Bytes payload;
};

// 03/06 request helpers: register and the second word (count for 03, value for 06).
std::uint16_t word(const Bytes& payload, std::size_t index);
Pdu readRequest(std::uint8_t address, std::uint16_t reg, std::uint16_t count = 1);
Pdu writeRequest(std::uint8_t address, std::uint16_t reg, std::uint16_t value);
Pdu readReply(std::uint8_t address, std::uint16_t value);
Pdu exceptionReply(std::uint8_t address, std::uint8_t function, std::uint8_t code);

enum class ScanKind { Incomplete, Frame, BadCheck, Malformed };

struct Scan {
    ScanKind kind = ScanKind::Incomplete;
    std::size_t skipped = 0; // bytes before the frame that belong to no frame
    std::size_t length = 0;  // bytes of the frame itself
    Pdu pdu;
};

// ASCII: ':' hex pairs, LRC pair, CR LF. Bytes before ':' are noise; a new ':' restarts.
Scan scanAscii(const Bytes& buffer);
// RTU requests of this controller are all eight bytes (03 and 06 with one register): the first
// eight-byte window with a good CRC is the frame; bytes that cannot start one are noise.
Scan scanRtu(const Bytes& buffer);

Bytes encodeAscii(const Pdu& pdu);
Bytes encodeRtu(const Pdu& pdu);

} // namespace qmxsim::modbus
