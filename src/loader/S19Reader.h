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

inline constexpr std::string_view kNotAnSRecord = "Not an S Record";
inline constexpr std::string_view kNotHex = "Not Hex";
inline constexpr std::string_view kUnknownSRecord = "Unknown S Record";
inline constexpr std::string_view kRecordTooShort = "S Record shorter than its byte count";

// One line's data bytes, in order, and the problems found on it (the texts the user sees).
struct TS19Line {
    std::vector<TS19Byte> Bytes;
    std::vector<std::string> Messages;
};

// Reads one record, never past the end of the line. A character that is not an upper-case
// hexadecimal digit counts as 0 and is reported; the checksum is not read; data past $FFFF
// wraps to $0000.
TS19Line ReadS19Line(std::string_view line);

}  // namespace hexmoor
