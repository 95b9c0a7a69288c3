// Reading Motorola S-record text (S1 data, S9 end) into data bytes at addresses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hexmoor {

struct TS19Byte {
    uint16_t Address;
    uint8_t Value;
};

// A problem found on one line; Message is the text the user is shown.
struct TS19Diagnostic {
    int Line;  // 1-based
    std::string Message;
};

inline constexpr std::string_view kNotAnSRecord = "Not an S Record";
inline constexpr std::string_view kNotHex = "Not Hex";
inline constexpr std::string_view kUnknownSRecord = "Unknown S Record";
inline constexpr std::string_view kDataPastFFFF = "Data past $FFFF ignored";

struct TS19Contents {
    std::vector<TS19Byte> Bytes;  // in file order
    std::vector<TS19Diagnostic> Diagnostics;
};

// Lines may end in LF, CRLF or CR. Checksums are not verified. Bad lines and bad digits
// are reported and reading goes on with what remains.
TS19Contents ReadS19(std::string_view text);

}  // namespace hexmoor
