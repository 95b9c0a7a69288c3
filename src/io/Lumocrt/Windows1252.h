// Terminal bytes and the characters they show: Windows-1252, so $B0 is the degree sign and
// $80 the euro sign. The five codes Windows-1252 leaves unassigned stand for the same code
// points. Both directions live here: what a byte shows, and the byte a typed character
// gives.
#pragma once

#include <cstdint>
#include <optional>

namespace hexmoor {

constexpr char32_t Windows1252CodePoint(uint8_t byte) {
    constexpr char16_t k80To9F[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte <= 0x9F ? k80To9F[byte - 0x80] : byte;
}

// The byte that shows `codePoint`; nothing for a character Windows-1252 does not have.
constexpr std::optional<uint8_t> Windows1252Byte(char32_t codePoint) {
    for (int byte = 0; byte < 256; ++byte)
        if (Windows1252CodePoint(uint8_t(byte)) == codePoint) return uint8_t(byte);
    return std::nullopt;
}

}  // namespace hexmoor
