// Upper-case hexadecimal text of bytes and words, as every message and read-out shows them.
#pragma once

#include <cstdint>
#include <string>

namespace hexmoor {

inline std::string HexDigits(unsigned value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(digits, '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
    return text;
}

inline std::string Hex2(uint8_t value) { return HexDigits(value, 2); }
inline std::string Hex4(uint16_t value) { return HexDigits(value, 4); }

}  // namespace hexmoor
