// Finding and reading a program's symbols: an ELF program's own symbol table (and its DWARF
// line table), or a file of names beside the program, a plain list (NAME.sym) or the GNU
// linker's map (NAME.map).
//
// A .sym file holds one "ADDRESS NAME" line per symbol, the address hexadecimal with or
// without a leading $ or 0x ("2000 start", "$E000 reset", "0x1037 TERMINAL"). Blank lines
// are allowed, lines starting with * or # are comments, and a ; begins a comment anywhere.
// Lines end in LF, CR LF or CR, and a UTF-8 byte-order mark may start the file. The bad
// lines are told together, each with its number, and the other lines still count.
//
// Of a linker map, only the symbol lines of its "Linker script and memory map" part are
// read: a hexadecimal value and one name, nothing else ("0x0000e000                _start").
// These are the global symbols of the linked input sections. Section and input-file lines,
// *fill* lines, assignments (with "=", PROVIDE included), the memory configuration and
// everything before the part's heading are skipped, as are values beyond $FFFF.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "debug/LineTable.h"
#include "debug/Symbols.h"
#include "loader/ElfReader.h"

namespace hexmoor {

// A symbol file is read whole or not at all: one longer than this is refused. It is far
// beyond the names and debug information of any 68HC11 program.
inline constexpr std::size_t kMaxSymbolFileSize = kMaxElfFileSize;

struct TSymbolLoad {
    TSymbolTable Table;
    TLineTable Lines;    // an ELF program's DWARF line table; empty for the other files
    std::string Source;  // the file the names were read from; empty when none was read
    // At most one message: the file's warnings and problems (its line table's included), one
    // to a line, naming the file. Bytes of the file quoted in it are escaped as \xNN.
    std::vector<std::string> Messages;
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

// The symbols and line table of a program already in memory, as LoadSymbolsFor reads them
// from an ELF program's file: for a program that came through a pipe and cannot be read
// again (TMachine::LoadedElf keeps its bytes). Other bytes (S-records) give nothing. `name`
// names the program in the message and becomes the Source.
TSymbolLoad ReadProgramSymbols(std::span<const uint8_t> program, const std::string& name);

}  // namespace hexmoor
