// Reading ELF32 executables as the GNU linker for the 68HC11 writes them: the bytes of the
// loadable segments at their load addresses, the symbol table, and sections by name. Either byte order is
// read, as the file's identification says (the 68HC11's files are big-endian). Every
// offset and size is checked against the file, so a damaged file gives a reason, not a
// read past its end.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hexmoor {

inline constexpr std::string_view kElfMagic = "\x7F" "ELF";

// A program file is read whole into memory: far beyond a 68HC11 program with all its debug
// information, and no device without an end (/dev/zero) eats memory.
inline constexpr std::size_t kMaxElfFileSize = 16 << 20;

// A loadable segment's file bytes and the address its first byte goes to (its physical
// address, where `m68hc11-objcopy -O srec` puts it), or why it cannot be loaded.
struct TElfSegment {
    uint16_t Address = 0;
    std::vector<uint8_t> Bytes;
    std::string Message;  // empty when the segment is intact; it holds no bytes when not
};

struct TElfSegments {
    // The loadable segments that have file bytes, in the file's order.
    std::vector<TElfSegment> Segments;
    std::string Message;  // why nothing of the file can be loaded; empty when it can
};

TElfSegments ReadElfSegments(std::span<const uint8_t> file);

struct TElfSymbol {
    std::string Name;
    uint16_t Value = 0;
    // Not in a section: a constant (.equ) or a linker-script assignment, whose value need
    // not be a place in memory.
    bool Absolute = false;
};

struct TElfSymbols {
    // The named, defined symbols of functions, objects and plain labels, in the file's
    // order: no section or file symbols, none undefined or common, none whose value lies
    // beyond $FFFF, and none of the names the assembler makes for itself (".L1\0021" for a
    // local label 1:, "L0\001" for a line of debug information): no name starting with .L
    // nor one holding a control byte.
    std::vector<TElfSymbol> Symbols;
    // Why the table could not be read (whole); the symbols before the damage are kept. A
    // file without a symbol table (a stripped one) has no symbols and no message.
    std::string Message;
};

TElfSymbols ReadElfSymbols(std::span<const uint8_t> file);

// The file bytes of the first section of a name (".debug_line"), in the byte order the
// file's fields have. A file without such a section, or one whose section holds no file
// bytes, gives no bytes and no message.
struct TElfSection {
    std::span<const uint8_t> Bytes;
    bool BigEndian = true;
    std::string Message;  // why the file's sections cannot be read; empty when they can
};

TElfSection FindElfSection(std::span<const uint8_t> file, std::string_view name);

}  // namespace hexmoor
