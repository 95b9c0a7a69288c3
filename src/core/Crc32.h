// CRC-32 as zip, PNG and Ethernet compute it (reflected polynomial $EDB88320), for checking
// that a file came back as it was written.
#pragma once

#include <cstdint>
#include <string_view>

namespace hexmoor {

// The CRC of `bytes` continued from `crc`, the CRC of what came before them (0 at the start).
uint32_t Crc32(std::string_view bytes, uint32_t crc = 0);

}  // namespace hexmoor
