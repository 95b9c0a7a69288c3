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
inline constexpr std::string_view kRecordTooLong = "S Record longer than its byte count";
inline constexpr std::string_view kCountTooSmall = "S Record byte count too small for an address and a checksum";
inline constexpr std::string_view kBadChecksum = "S Record checksum does not match its bytes";

// One line's data bytes, in order, and the problem found on it (the text the user sees).
struct TS19Line {
    std::vector<TS19Byte> Bytes;
    std::string Message;  // empty when the line is fine
    // The line may have carried part of the program and did not arrive whole, so none of
    // it is stored: a damaged S1 or S9 record, a record of an unknown type, a line that is
    // no record. An S0 header is reported but does no harm: it carries no program bytes.
    bool Damaged = false;
};

// Reads one record, never past the end of the line. Hexadecimal digits may be of either
// case; blanks at the end of the line are ignored. A record is taken only when its byte
// count matches the line and its checksum matches its bytes (count, address, data and
// checksum add up to $FF in their low byte). Data past $FFFF wraps to $0000.
TS19Line ReadS19Line(std::string_view line);

}  // namespace hexmoor
