// S-record parsing: one record per line, upper-case hexadecimal fields.
#include "loader/S19Reader.h"

#include <optional>

namespace hexmoor {

namespace {

// Reads the hexadecimal fields of one line left to right, reporting each bad digit.
class TFieldReader {
public:
    TFieldReader(std::string_view line, int lineNumber, TS19Contents& contents)
        : line_(line), lineNumber_(lineNumber), contents_(contents) {}

    // The next `digits` characters as a number, or nothing when the line ends first (never
    // reading past its end). A character that is not 0-9 or A-F counts as 0.
    std::optional<uint32_t> Read(int digits) {
        if (position_ + digits > line_.size()) {
            Report(kNotHex);
            return std::nullopt;
        }
        uint32_t value = 0;
        for (int i = 0; i < digits; ++i) {
            const char c = line_[position_++];
            int digit = 0;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            else Report(kNotHex);
            value = value << 4 | uint32_t(digit);
        }
        return value;
    }

    void Report(std::string_view message) {
        contents_.Diagnostics.push_back({lineNumber_, std::string(message)});
    }

private:
    std::string_view line_;
    std::size_t position_ = 2;  // after "S" and the record type
    int lineNumber_;
    TS19Contents& contents_;
};

// S1: byte count (address + data + checksum), address, data bytes; the checksum is not read.
// A record cut short delivers the bytes it holds in full.
void ReadDataRecord(std::string_view line, int lineNumber, TS19Contents& contents) {
    TFieldReader fields(line, lineNumber, contents);
    const std::optional<uint32_t> count = fields.Read(2);
    if (!count) return;
    const std::optional<uint32_t> address = fields.Read(4);
    if (!address) return;
    uint32_t running = *address;
    for (int i = 3; i < int(*count); ++i) {
        const std::optional<uint32_t> value = fields.Read(2);
        if (!value) return;
        if (running > 0xFFFF) {
            fields.Report(kDataPastFFFF);
            return;
        }
        contents.Bytes.push_back({uint16_t(running++), uint8_t(*value)});
    }
}

void ReadRecord(std::string_view line, int lineNumber, TS19Contents& contents) {
    if (line.empty()) return;
    if (line[0] != 'S') {
        contents.Diagnostics.push_back({lineNumber, std::string(kNotAnSRecord)});
        return;
    }
    const char type = line.size() > 1 ? line[1] : '\0';
    if (type == '1')
        ReadDataRecord(line, lineNumber, contents);
    else if (type != '9')
        contents.Diagnostics.push_back({lineNumber, std::string(kUnknownSRecord)});
}

}  // namespace

TS19Contents ReadS19(std::string_view text) {
    TS19Contents contents;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        ReadRecord(line, ++lineNumber, contents);
        if (end == std::string_view::npos) break;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return contents;
}

}  // namespace hexmoor
