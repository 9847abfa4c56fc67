#include "modbus_frame.h"

#include <algorithm>
#include <iterator>

namespace qmxsim::modbus {

namespace {
constexpr std::size_t kRtuRequest = 8;
constexpr std::size_t kMaxAscii = 64;

Bytes pduBytes(const Pdu& pdu)
{
    Bytes b{pdu.address, pdu.function};
    // Copied, not range-inserted: GCC 12 falsely warns the insert after a braced head overflows.
    std::copy(pdu.payload.begin(), pdu.payload.end(), std::back_inserter(b));
    return b;
}

Pdu pduOf(const Bytes& raw)
{
    Pdu p;
    p.address = raw[0];
    p.function = raw[1];
    p.payload.assign(raw.begin() + 2, raw.end());
    return p;
}
} // namespace

std::uint8_t lrc(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum = static_cast<std::uint8_t>(sum + data[i]);
    return static_cast<std::uint8_t>(-sum);
}

std::uint16_t crc16(const std::uint8_t* data, std::size_t size)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

std::uint16_t word(const Bytes& payload, std::size_t index)
{
    if (payload.size() < index + 2)
        return 0;
    return static_cast<std::uint16_t>(payload[index] << 8 | payload[index + 1]);
}

Pdu readRequest(std::uint8_t address, std::uint16_t reg, std::uint16_t count)
{
    return {address,
            kReadHolding,
            {static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg),
             static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count)}};
}

Pdu writeRequest(std::uint8_t address, std::uint16_t reg, std::uint16_t value)
{
    return {address,
            kWriteSingle,
            {static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg),
             static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)}};
}

Pdu readReply(std::uint8_t address, std::uint16_t value)
{
    return {address,
            kReadHolding,
            {2, static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)}};
}

Pdu exceptionReply(std::uint8_t address, std::uint8_t function, std::uint8_t code)
{
    return {address, static_cast<std::uint8_t>(function | kExceptionFlag), {code}};
}

Scan scanAscii(const Bytes& buffer)
{
    Scan result;
    const std::size_t n = buffer.size();
    std::size_t start = 0;
    std::size_t lf = 0;
    for (;;) {
        while (start < n && buffer[start] != ':')
            ++start;
        result.skipped = start;
        if (start >= n)
            return result;
        std::size_t i = start + 1;
        while (i < n && buffer[i] != '\n' && buffer[i] != ':')
            ++i;
        if (i < n && buffer[i] == ':') {
            start = i;
            continue;
        }
        if (i >= n) {
            if (n - start > kMaxAscii) {
                ++start;
                continue;
            }
            return result;
        }
        lf = i;
        break;
    }
    result.length = lf + 1 - start;
    // ':' + at least address, function, LRC (6 digits) + CR LF.
    if (result.length < 9 || buffer[lf - 1] != '\r' || (result.length - 3) % 2 != 0) {
        result.kind = ScanKind::Malformed;
        return result;
    }
    std::string digits(buffer.begin() + static_cast<long>(start + 1),
                       buffer.begin() + static_cast<long>(lf - 1));
    for (char c : digits) {
        const bool upper = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        if (!upper) {
            result.kind = ScanKind::Malformed;
            return result;
        }
    }
    const auto raw = fromHex(digits);
    if (!raw || raw->size() < 3) {
        result.kind = ScanKind::Malformed;
        return result;
    }
    const Bytes body(raw->begin(), raw->end() - 1);
    result.pdu = pduOf(body);
    result.kind =
        lrc(body.data(), body.size()) == raw->back() ? ScanKind::Frame : ScanKind::BadCheck;
    return result;
}

Scan scanRtu(const Bytes& buffer)
{
    Scan result;
    const std::size_t n = buffer.size();
    for (std::size_t i = 0; i + kRtuRequest <= n; ++i) {
        const std::uint8_t* p = buffer.data() + i;
        const std::uint16_t crc = crc16(p, kRtuRequest - 2);
        if (p[6] == (crc & 0xFF) && p[7] == (crc >> 8)) {
            result.kind = ScanKind::Frame;
            result.skipped = i;
            result.length = kRtuRequest;
            result.pdu = pduOf(Bytes(p, p + kRtuRequest - 2));
            return result;
        }
    }
    // No window has a good CRC: only the last seven bytes may still begin a frame.
    result.skipped = n >= kRtuRequest ? n - (kRtuRequest - 1) : 0;
    return result;
}

Bytes encodeAscii(const Pdu& pdu)
{
    const Bytes body = pduBytes(pdu);
    // A char: GCC 12 falsely warns of an overlapping copy in a literal + string.
    const std::string text = ':' + toHex(body) + hex2(lrc(body.data(), body.size())) + "\r\n";
    return bytesOf(text);
}

Bytes encodeRtu(const Pdu& pdu)
{
    Bytes b = pduBytes(pdu);
    const std::uint16_t crc = crc16(b.data(), b.size());
    b.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    b.push_back(static_cast<std::uint8_t>(crc >> 8));
    return b;
}

} // namespace qmxsim::modbus
