#include "hex.h"

namespace qmxsim {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";

int digitValue(char c, bool upperOnly)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (!upperOnly && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
} // namespace

std::string toHex(const std::uint8_t* data, std::size_t size)
{
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 0x0F]);
    }
    return out;
}

std::string toHex(const Bytes& bytes)
{
    return toHex(bytes.data(), bytes.size());
}

std::optional<Bytes> fromHex(std::string_view text)
{
    Bytes out;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        const int v = digitValue(c, false);
        if (v < 0)
            return std::nullopt;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return out;
}

std::string hex2(std::uint8_t value)
{
    return toHex(&value, 1);
}

std::string hex4(std::uint16_t value)
{
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(value >> 8),
                               static_cast<std::uint8_t>(value & 0xFF)};
    return toHex(b, 2);
}

std::optional<std::uint16_t> parseUpperHex(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        const int v = digitValue(c, true);
        if (v < 0)
            return std::nullopt;
        value = value << 4 | static_cast<unsigned>(v);
    }
    return static_cast<std::uint16_t>(value);
}

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

} // namespace qmxsim
