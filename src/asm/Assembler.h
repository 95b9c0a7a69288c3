// The classic Motorola assembler for the 68HC11, in the syntax textbooks and data-book
// examples use: a label in column 1, a mnemonic, an operand, a comment. Two passes over
// the source and the files it includes; the encodings and cycle counts come from the opcode
// table the CPU executes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hexmoor {

// A note tells of something that assembles as written but may not do what was meant.
enum class TAsmSeverity : uint8_t { Error, Warning, Note };

struct TAsmDiagnostic {
    std::string File;  // as the assembler opened it
    int Line = 0;      // from 1; 0 for the file as a whole (it cannot be read)
    int Column = 0;    // from 1; 0 for the line as a whole
    TAsmSeverity Severity = TAsmSeverity::Error;
    std::string Message;
};

// "file:line:column: error: message" (or warning:, note:), as compilers write them (line
// and column left out where they are 0).
std::string FormatDiagnostic(const TAsmDiagnostic& diagnostic);

// Bytes at consecutive addresses, in the order the source gave them.
struct TAsmChunk {
    uint16_t Address = 0;
    std::vector<uint8_t> Bytes;
};

struct TAsmSymbol {
    std::string Name;
    int32_t Value = 0;
    bool Label = false;        // a place in memory (a label on code or data); else an EQU or SET value
    bool Redefinable = false;  // a SET value: its last, which names no one place
};

// Where the bytes of one source line went: what the Source window marks and what a
// FILE:LINE breakpoint means.
struct TAsmLine {
    uint16_t Address = 0;
    uint16_t Length = 0;  // bytes the line gave (0 for a label alone, an EQU, an ORG)
    int File = 0;         // an index into TAssembly::Files
    int Line = 0;         // from 1
};

struct TAssembly {
    std::vector<std::string> Files;           // the source first, then each file it included
    std::vector<TAsmDiagnostic> Diagnostics;  // errors and warnings, in source order
    std::vector<TAsmChunk> Chunks;
    std::vector<TAsmSymbol> Symbols;  // in name order
    std::vector<TAsmLine> Lines;      // every line that has an address, in source order
    std::string Listing;              // the listing file's text
    std::optional<uint16_t> Entry;    // END's operand, when it has one

    bool Failed() const;  // an error was found: nothing may be written or loaded
};

// Where the assembler reads a source file and the files it includes (a path relative to
// the including file's folder); tests give files from a table.
class TSourceFiles {
public:
    virtual ~TSourceFiles() = default;
    // The file's text; nullopt with `error` saying why it cannot be read.
    virtual std::optional<std::string> Read(const std::string& path, std::string& error) = 0;
};

TAssembly Assemble(const std::string& path, TSourceFiles& files);
TAssembly Assemble(const std::string& path);  // from the file system

// The outputs. S1 records of at most `recordBytes` data bytes (1 to 252) with their
// checksums, no S0 header, and an S9 record (with the entry, or 0).
inline constexpr std::size_t kDefaultRecordBytes = 16, kMaxRecordBytes = 252;
std::string S19Text(const TAssembly& assembly, std::size_t recordBytes = kDefaultRecordBytes);
// One "ADDRESS NAME" line a symbol ("2000 start"), the form the debugger reads.
std::string SymbolFileText(const TAssembly& assembly);

}  // namespace hexmoor
