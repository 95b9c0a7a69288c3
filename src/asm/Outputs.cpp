// The assembly's outputs: messages as compilers write them, S-records, the symbol file.
#include <algorithm>

#include "asm/Assembler.h"
#include "core/Hex.h"

namespace hexmoor {

namespace {

// "S1" or "S9", the byte count, the address, the data, and the checksum that makes their
// sum $FF.
std::string Record(char type, uint16_t address, const uint8_t* data, std::size_t count) {
    const uint8_t length = uint8_t(count + 3);
    unsigned sum = length + (address >> 8) + (address & 0xFF);
    std::string text = std::string("S") + type + Hex2(length) + Hex4(address);
    for (std::size_t i = 0; i < count; ++i) {
        text += Hex2(data[i]);
        sum += data[i];
    }
    return text + Hex2(uint8_t(~sum)) + "\n";
}

}  // namespace

bool TAssembly::Failed() const {
    return std::any_of(Diagnostics.begin(), Diagnostics.end(),
                       [](const TAsmDiagnostic& d) { return d.Severity == TAsmSeverity::Error; });
}

std::string FormatDiagnostic(const TAsmDiagnostic& d) {
    std::string text = d.File + ":";
    if (d.Line > 0) {
        text += std::to_string(d.Line) + ":";
        if (d.Column > 0) text += std::to_string(d.Column) + ":";
    }
    constexpr const char* kSeverities[] = {" error: ", " warning: ", " note: "};
    return text + kSeverities[int(d.Severity)] + d.Message;
}

std::string S19Text(const TAssembly& assembly, std::size_t recordBytes) {
    recordBytes = std::clamp<std::size_t>(recordBytes, 1, kMaxRecordBytes);
    std::string text;
    for (const TAsmChunk& chunk : assembly.Chunks)
        for (std::size_t at = 0; at < chunk.Bytes.size(); at += recordBytes)
            text += Record('1', uint16_t(chunk.Address + at), chunk.Bytes.data() + at,
                           std::min(recordBytes, chunk.Bytes.size() - at));
    return text + Record('9', assembly.Entry.value_or(0), nullptr, 0);
}

// Labels and EQU values, by address; a SET value names nothing for good, and a value past
// 16 bits is no address.
std::string SymbolFileText(const TAssembly& assembly) {
    std::vector<const TAsmSymbol*> named;
    for (const TAsmSymbol& symbol : assembly.Symbols)
        if (!symbol.Redefinable && symbol.Value >= 0 && symbol.Value <= 0xFFFF) named.push_back(&symbol);
    std::stable_sort(named.begin(), named.end(),
                     [](const TAsmSymbol* a, const TAsmSymbol* b) { return a->Value < b->Value; });
    std::string text;
    for (const TAsmSymbol* symbol : named) text += Hex4(uint16_t(symbol->Value)) + " " + symbol->Name + "\n";
    return text;
}

}  // namespace hexmoor
