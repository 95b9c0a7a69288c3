// The bytes of an ELF file, to read the fields of and to damage on purpose.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace hexmoor::testing {

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A big-endian field, as the 68HC11's ELF files hold them.
inline uint32_t Field(const std::vector<uint8_t>& bytes, std::size_t offset, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value = value << 8 | bytes[offset + i];
    return value;
}

inline void Put(std::vector<uint8_t>& bytes, std::size_t offset, int size, uint32_t value) {
    for (int i = size - 1; i >= 0; --i, value >>= 8) bytes[offset + i] = uint8_t(value);
}

}  // namespace hexmoor::testing
