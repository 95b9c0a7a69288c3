// Finding and reading a program's symbols: an ELF program's own symbol table, or a file of
// names beside the program, a plain list (NAME.sym) or the GNU linker's map (NAME.map).
//
// A .sym file holds one "ADDRESS NAME" line per symbol, the address hexadecimal with or
// without a leading $ or 0x ("2000 start", "$E000 reset", "0x1037 TERMINAL"). Blank lines
// are allowed, lines starting with * or # are comments, and a ; begins a comment anywhere.
// A bad line is reported with its file and line number and the other lines still count.
//
// Of a linker map, only the symbol lines of its "Linker script and memory map" part are
// read: a hexadecimal value and one name, nothing else ("0x0000e000                _start").
// These are the global symbols of the linked input sections. Section and input-file lines,
// *fill* lines, assignments (with "=", PROVIDE included), the memory configuration and
// everything before the part's heading are skipped, as are values beyond $FFFF.
#pragma once

#include <string>
#include <vector>

#include "debug/Symbols.h"

namespace hexmoor {

struct TSymbolLoad {
    TSymbolTable Table;
    std::string Source;  // the file the names were read from; empty when none was found
    std::vector<std::string> Messages;  // warnings and problems, each naming its file
};

// The symbols of the program at `programPath`: an ELF program's own table; otherwise the
// program's name with the extension .sym, otherwise with .map. A symbol file older than the
// program is read, with a warning that its names may be out of date; one written a few
// seconds before it counts as made in the same build (a link writes its map, then the
// S-records are made from its output). No symbol file is no problem: the table is empty
// and nothing is said.
TSymbolLoad LoadSymbolsFor(const std::string& programPath);

// The symbols of a file named for them: an ELF file, a linker map or a .sym list, told apart
// by what the file holds.
TSymbolLoad LoadSymbolFile(const std::string& path);

}  // namespace hexmoor
