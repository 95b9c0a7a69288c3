#include "asm/Listing.h"

#include <algorithm>

#include "core/Hex.h"

namespace hexmoor {

namespace {

constexpr std::size_t kBytesPerRow = 5;  // the longest instruction fits in one row

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string ValueHex(int32_t value) {
    return uint32_t(value) > 0xFFFF ? HexDigits(uint32_t(value), 8) : Hex4(uint16_t(value));
}

// "  12  2000  86 41          2  LOOP LDAA #$41": line, address (or an EQU's =value), up
// to five bytes, cycles, the source; longer data goes on in rows of its own below.
void AppendLine(std::string& out, const TListedLine& line) {
    std::string address;
    if (line.Value)
        address = "=" + ValueHex(*line.Value);
    else if (line.Address)
        address = " " + Hex4(*line.Address);
    std::string row = Padded(std::to_string(line.Line), 6) + Padded(address, 10);
    std::size_t shown = 0;
    auto bytes = [&line, &shown] {
        std::string text;
        for (; shown < line.Bytes.size() && text.size() < 3 * kBytesPerRow; ++shown)
            text += Hex2(line.Bytes[shown]) + " ";
        return Padded(text, 3 * kBytesPerRow);
    };
    row += bytes();
    row += Padded(line.Cycles ? std::to_string(line.Cycles) : "", 4);
    out += row + line.Text + "\n";
    while (shown < line.Bytes.size()) {
        const uint16_t at = uint16_t(*line.Address + shown);
        std::string more = Padded("", 6) + " " + Hex4(at) + "     " + bytes();
        while (!more.empty() && more.back() == ' ') more.pop_back();
        out += more + "\n";
    }
}

}  // namespace

std::string ListingOf(const std::vector<TListedLine>& lines, const TAssembly& assembly) {
    std::string out;
    int file = -1;
    for (const TListedLine& line : lines) {
        if (line.File != file) {
            file = line.File;
            out += "File " + assembly.Files[file] + "\n";
        }
        AppendLine(out, line);
        for (std::size_t i = line.DiagnosticsBegin; i < line.DiagnosticsEnd; ++i)
            out += "***** " + FormatDiagnostic(assembly.Diagnostics[i]) + "\n";
    }
    out += "\nSymbols\n";
    std::size_t width = 0;
    for (const TAsmSymbol& symbol : assembly.Symbols) width = std::max(width, symbol.Name.size());
    for (const TAsmSymbol& symbol : assembly.Symbols)
        out += Padded(symbol.Name, width + 2) + ValueHex(symbol.Value) + "  " +
               (symbol.Label         ? "label"
                : symbol.Redefinable ? "SET"
                                     : "EQU") +
               "\n";
    return out;
}

}  // namespace hexmoor
