// S-record parsing: one record per line, upper-case hexadecimal fields.
#include "loader/S19Reader.h"

#include <optional>

namespace hexmoor {

namespace {

// Reads the hexadecimal fields of one line left to right, reporting each bad digit.
class TFieldReader {
public:
    TFieldReader(std::string_view line, TS19Line& result) : line_(line), result_(result) {}

    // The next `digits` characters as a number, or nothing when the line ends first.
    std::optional<uint32_t> Read(int digits) {
        if (position_ + digits > line_.size()) return std::nullopt;
        uint32_t value = 0;
        for (int i = 0; i < digits; ++i) {
            const char c = line_[position_++];
            int digit = 0;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            else result_.Messages.emplace_back(kNotHex);
            value = value << 4 | uint32_t(digit);
        }
        return value;
    }

private:
    std::string_view line_;
    std::size_t position_ = 2;  // after "S" and the record type
    TS19Line& result_;
};

// S1: byte count (address + data + checksum), address, data bytes, checksum.
void ReadDataRecord(std::string_view line, TS19Line& result) {
    TFieldReader fields(line, result);
    const std::optional<uint32_t> count = fields.Read(2);
    const std::optional<uint32_t> address = count ? fields.Read(4) : std::nullopt;
    if (!address) {
        result.Messages.emplace_back(kRecordTooShort);
        return;
    }
    uint16_t running = uint16_t(*address);
    for (int i = 3; i < int(*count); ++i) {
        const std::optional<uint32_t> value = fields.Read(2);
        if (!value) {
            result.Messages.emplace_back(kRecordTooShort);
            return;
        }
        result.Bytes.push_back({running++, uint8_t(*value)});
    }
}

}  // namespace

TS19Line ReadS19Line(std::string_view line) {
    TS19Line result;
    if (line.empty()) return result;
    if (line[0] != 'S') {
        result.Messages.emplace_back(kNotAnSRecord);
        return result;
    }
    const char type = line.size() > 1 ? line[1] : '\0';
    if (type == '1')
        ReadDataRecord(line, result);
    else if (type != '9')
        result.Messages.emplace_back(kUnknownSRecord);
    return result;
}

}  // namespace hexmoor
