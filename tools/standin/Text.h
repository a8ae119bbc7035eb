#pragma once
// Small text helpers. Set names and ROM names are ASCII; letter case is folded for ASCII only,
// as the emulator does.

#include <cstdint>
#include <string>
#include <string_view>

namespace zefrin::standin {

std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Shell-style wildcards '*' and '?', letter case ignored, as the emulator matches set names.
bool wildcardMatch(std::string_view pattern, std::string_view text);

// Text filled with blanks to `width` bytes, on the right or on the left; longer text is kept.
std::string padRight(std::string_view text, std::size_t width);
std::string padLeft(std::string_view text, std::size_t width);

// "0123abcd": the low 32 bits in 8 hexadecimal digits
std::string hex8(std::uint64_t value);

// "CRC(0123abcd)"
std::string crcText(std::uint32_t crc);

} // namespace zefrin::standin
