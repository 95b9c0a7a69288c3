// S-record parsing: one record per line, checked whole before any of its bytes is taken.
#include "loader/S19Reader.h"

#include <optional>

namespace hexmoor {

namespace {

// A record's bytes take at least a count, two address bytes and a checksum.
constexpr unsigned kSmallestCount = 3;

std::optional<uint8_t> HexDigit(char c) {
    if (c >= '0' && c <= '9') return uint8_t(c - '0');
    if (c >= 'A' && c <= 'F') return uint8_t(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return uint8_t(c - 'a' + 10);
    return std::nullopt;
}

TS19Line Damaged(std::string_view message) {
    TS19Line result;
    result.Message = message;
    result.Damaged = true;
    return result;
}

// S1 and S9: the byte count, the address, the data bytes (S1) and the checksum.
TS19Line ReadCountedRecord(std::string_view digits, bool data) {
    for (char c : digits)
        if (!HexDigit(c)) return Damaged(kNotHex);
    const auto byteAt = [digits](std::size_t i) {
        return uint8_t(*HexDigit(digits[2 * i]) << 4 | *HexDigit(digits[2 * i + 1]));
    };
    if (digits.size() < 2) return Damaged(kRecordTooShort);
    const unsigned count = byteAt(0);
    if (count < kSmallestCount) return Damaged(kCountTooSmall);
    const std::size_t expected = 2 * (1 + std::size_t(count));
    if (digits.size() < expected) return Damaged(kRecordTooShort);
    if (digits.size() > expected) return Damaged(kRecordTooLong);
    unsigned sum = 0;
    for (std::size_t i = 0; i <= count; ++i) sum += byteAt(i);
    if ((sum & 0xFF) != 0xFF) return Damaged(kBadChecksum);

    TS19Line result;
    if (!data) return result;
    uint16_t address = uint16_t(byteAt(1) << 8 | byteAt(2));
    for (std::size_t i = 3; i < count; ++i) result.Bytes.push_back({address++, byteAt(i)});
    return result;
}

}  // namespace

TS19Line ReadS19Line(std::string_view line) {
    line = line.substr(0, line.find_last_not_of(" \t") + 1);
    if (line.empty()) return {};
    if (line[0] != 'S') return Damaged(kNotAnSRecord);
    const char type = line.size() > 1 ? line[1] : '\0';
    if (type == '1' || type == '9') return ReadCountedRecord(line.substr(2), type == '1');
    TS19Line unknown = Damaged(kUnknownSRecord);
    unknown.Damaged = type != '0';
    return unknown;
}

}  // namespace hexmoor
