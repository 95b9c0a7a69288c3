#include "core/Crc32.h"

#include <array>

namespace hexmoor {

namespace {

constexpr std::array<uint32_t, 256> kCrcTable = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        table[byte] = crc;
    }
    return table;
}();

}  // namespace

uint32_t Crc32(std::string_view bytes, uint32_t crc) {
    crc = ~crc;
    for (const char byte : bytes) crc = kCrcTable[(crc ^ uint8_t(byte)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

}  // namespace hexmoor
