// A program's source lines for a debugger: the line table an assembly makes, the line an
// address is on, the code of a line, and "FILE:LINE" read as an address.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "asm/Assembler.h"
#include "debug/LineTable.h"
#include "debug/Symbols.h"

namespace hexmoor {

TLineTable LineTableOf(const TAssembly& assembly);
// Labels name places; EQU and SET values are constants, found by name only.
TSymbolTable SymbolTableOf(const TAssembly& assembly);

// The line whose code holds `address`; null when no line gave it.
const TLineEntry* LineAt(const TLineTable& lines, uint16_t address);
// The first line with code at or after `line` in the file `file`: a breakpoint on a comment
// or a label alone goes to the code that follows it.
const TLineEntry* CodeAtOrAfter(const TLineTable& lines, int file, int line);
// The code of exactly that line, if it has any.
const TLineEntry* CodeOfLine(const TLineTable& lines, int file, int line);

// The file `name` stands for: its path as the program names it, the same file by an
// absolute or "./"-relative path, or its name alone. -1 when none is.
int FileNamed(const TLineTable& lines, std::string_view name);

// A text that has the form FILE:LINE (a colon with something before it), read against the
// line table: the line's code (or the code after it). Nullopt without an error when the
// text has no such form; with one when it is malformed ("prog.asm:0", "prog.asm:") or names
// no code.
std::optional<const TLineEntry*> ReadSourcePosition(const TLineTable& lines, std::string_view text,
                                                    std::string& error);

}  // namespace hexmoor
