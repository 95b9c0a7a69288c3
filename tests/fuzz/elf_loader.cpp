// Arbitrary bytes as an ELF program (the ELF magic put in front when they lack it): the
// segment, symbol and line table readers never read past the file nor take more than the
// address space holds, and the loader says only what a user is meant to read.
#include <algorithm>
#include <memory>
#include <string_view>

#include "FuzzPanel.h"
#include "debug/DwarfLines.h"
#include "loader/ElfReader.h"

using namespace hexmoor;

namespace {

// How every reason a damaged ELF file is given begins.
constexpr std::string_view kReasons[] = {
    "not an ELF file",          "the file ends inside its ELF header", "not a 32-bit ELF file",
    "unknown ELF byte order",   "unknown ELF version",                 "an ELF file for machine",
    "an object file",           "not an executable ELF file",          "the program header table",
    "segment ",                 "no loadable segment with data",       "the section header table",
    "the symbol table",         "the string table",                    "symbol ",
    "the symbol names take more than",
};

void CheckReason(std::string_view reason) {
    if (std::none_of(std::begin(kReasons), std::end(kReasons), [&](std::string_view r) { return reason.starts_with(r); }))
        fuzz::Fail("unexpected reason " + std::string(reason));
}

// The readers on a buffer of exactly the file's length, so a read past its end is caught.
void ReadAlone(const std::vector<uint8_t>& bytes) {
    const auto copy = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    const std::span<const uint8_t> file(copy.get(), bytes.size());

    const TElfSegments elf = ReadElfSegments(file);
    if (!elf.Message.empty()) CheckReason(elf.Message);
    if (!elf.Message.empty() && !elf.Segments.empty()) fuzz::Fail("segments of a file that cannot be read");
    std::size_t loaded = 0;
    for (const TElfSegment& segment : elf.Segments) {
        if (!segment.Message.empty()) CheckReason(segment.Message);
        if (!segment.Message.empty() && !segment.Bytes.empty()) fuzz::Fail("bytes taken from a damaged segment");
        if (segment.Address + segment.Bytes.size() > 0x10000) fuzz::Fail("a segment past $FFFF");
        loaded += segment.Bytes.size();
    }
    if (loaded > 0x10000) fuzz::Fail("more bytes than the address space holds");

    const TElfSymbols symbols = ReadElfSymbols(file);
    if (!symbols.Message.empty()) CheckReason(symbols.Message);
    std::size_t nameBytes = 0;
    for (const TElfSymbol& symbol : symbols.Symbols) {
        if (symbol.Name.empty()) fuzz::Fail("a symbol without a name");
        nameBytes += symbol.Name.size();
    }
    if (nameBytes > (1 << 20)) fuzz::Fail("more name bytes than the bound");
    for (const TElfSymbol& symbol : symbols.Symbols)
        if (symbol.Name.starts_with(".L") ||
            std::any_of(symbol.Name.begin(), symbol.Name.end(), [](char c) { return uint8_t(c) < 0x20; }))
            fuzz::Fail("a name the assembler made for itself: " + symbol.Name);

    const TDwarfLines lines = ReadDwarfLines(file, "prog.elf");
    if (!lines.Note.empty() && !lines.Note.starts_with("the line table of prog.elf "))
        fuzz::Fail("unexpected line table note " + lines.Note);
    for (const TLineEntry& entry : lines.Table.Entries) {
        if (entry.Length == 0 || entry.Address + entry.Length > 0x10000) fuzz::Fail("a line without code in memory");
        if (entry.File < 0 || std::size_t(entry.File) >= lines.Table.Files.size()) fuzz::Fail("a line of no file");
        if (entry.Line < 1) fuzz::Fail("a line numbered below 1");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    if (!std::string_view(reinterpret_cast<const char*>(data), size).starts_with(kElfMagic))
        bytes.insert(bytes.begin(), kElfMagic.begin(), kElfMagic.end());
    ReadAlone(bytes);

    fuzz::TFuzzPanel panel;
    auto machine = std::make_unique<TMachine>(panel);
    panel.Attach(*machine);
    const fuzz::TMemoryFile file(bytes.data(), bytes.size());
    const TLoadResult result = machine->LoadFile(file.Path());
    const std::string cannotLoad = "Cannot load " + file.Path() + ": ";
    for (const std::string& message : panel.Messages) {
        if (!message.starts_with(cannotLoad)) fuzz::Fail("unexpected loader message " + message);
        CheckReason(std::string_view(message).substr(cannotLoad.size()));
    }
    if (result == TLoadResult::Loaded && !panel.Messages.empty()) fuzz::Fail("a failure reported as a load");
    if (result != TLoadResult::Loaded && panel.Messages.empty()) fuzz::Fail("a load that failed in silence");
    return 0;
}
