// Small byte and hexadecimal helpers shared by the simulator's framing code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qmxsim {

using Bytes = std::vector<std::uint8_t>;

// "0220..." with upper-case digits, no separators: the form the wire log uses.
std::string toHex(const Bytes& bytes);
std::string toHex(const std::uint8_t* data, std::size_t size);
// Accepts upper- or lower-case digits, ignores blanks; nullopt on anything else.
std::optional<Bytes> fromHex(std::string_view text);

// Fixed-width upper-case hexadecimal text of a value.
std::string hex2(std::uint8_t value);
std::string hex4(std::uint16_t value);

// The controller only takes upper-case hex digits on the wire; a lower-case digit is an error.
std::optional<std::uint16_t> parseUpperHex(std::string_view text);

Bytes bytesOf(std::string_view text);

} // namespace qmxsim
