#include "debug/CodeListing.h"

#include <algorithm>

#include "core/Hex.h"
#include "core/Machine.h"
#include "debug/History.h"
#include "debug/Peek.h"

namespace hexmoor {

namespace {

// Memory as an image the decoder reads, byte by byte through peeks.
struct TPeekedMemory {
    const TMachine& Machine;
    uint8_t operator[](uint16_t address) const { return PeekByte(Machine, address); }
};

TDecodedInstruction Decode(const TMachine& m, uint16_t address) {
    return DecodeAt(address, InstructionBytesAt(TPeekedMemory{m}, address));
}

std::string BytesText(const TDecodedInstruction& d) {
    std::string text;
    for (int i = 0; i < d.Length; ++i) text += (i ? " " : "") + Hex2(d.Bytes[i]);
    return text;
}

}  // namespace

int InstructionLength(const TMachine& m, uint16_t address) { return Decode(m, address).Length; }

std::vector<TCodeLine> CodeLines(const TMachine& m, const TSymbolTable& symbols, uint16_t top, std::size_t rows) {
    const TSymbolNames names(symbols);
    std::vector<TCodeLine> lines;
    for (uint32_t address = top; address <= 0xFFFF && lines.size() < rows;) {
        for (const std::string& name : symbols.NamesAt(uint16_t(address)))
            if (lines.size() < rows) lines.push_back({uint16_t(address), name, 0, "", ""});
        if (lines.size() == rows) break;
        const TDecodedInstruction d = Decode(m, uint16_t(address));
        lines.push_back({uint16_t(address), "", d.Length, BytesText(d), ListingText(d, &names)});
        address += uint32_t(d.Length);
    }
    return lines;
}

uint16_t InstructionBefore(const TMachine& m, uint16_t top) {
    constexpr uint32_t kLookBack = 16;  // a few instructions: enough for decoding to fall in step
    for (uint32_t back = std::min<uint32_t>(kLookBack, top); back > 0; --back) {
        uint32_t address = top - back, previous = address;
        while (address < top) {
            previous = address;
            address += uint32_t(InstructionLength(m, uint16_t(address)));
        }
        if (address == top) return uint16_t(previous);
    }
    return top == 0 ? 0 : uint16_t(top - 1);
}

uint16_t InstructionsFrom(const TMachine& m, uint16_t address, int lines) {
    for (; lines < 0 && address > 0; ++lines) address = InstructionBefore(m, address);
    for (; lines > 0; --lines) {
        const uint32_t next = address + uint32_t(InstructionLength(m, address));
        if (next > 0xFFFF) break;
        address = uint16_t(next);
    }
    return address;
}

}  // namespace hexmoor
