// A program given as assembly source: the loader hands it to an assembler, which lives
// outside the machine, and loads the bytes it gives as it would load their S-records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hexmoor {

class TProgramAssembler {
public:
    virtual ~TProgramAssembler() = default;
    struct TBytes {
        uint16_t Address = 0;
        std::vector<uint8_t> Bytes;
    };
    // The bytes the source at `path` gives; nullopt when it does not assemble, which the
    // assembler has told the user.
    virtual std::optional<std::vector<TBytes>> Assemble(const std::string& path) = 0;
};

// A name that says assembly source: .asm, .a11 or .s11, of either case. The loader asks
// only after the file's first bytes said it is neither ELF nor S-records.
bool IsSourceName(std::string_view path);

}  // namespace hexmoor
