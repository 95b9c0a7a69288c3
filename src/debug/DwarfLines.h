// The line table of an ELF program built with the GNU tools (`m68hc11-as --gdwarf2`, gcc
// -g): its .debug_line section, DWARF versions 2 to 5, as the debugger's TLineTable.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "debug/LineTable.h"

namespace hexmoor {

struct TDwarfLines {
    TLineTable Table;
    // Why none or only part of the table was read ("the line table of prog.elf is damaged:
    // ..."); empty when the program has no line table or it was read whole.
    std::string Note;
};

// The line table of the ELF file `elfFile`, named `fileName` in the note. A damaged table
// gives what was read before the damage; the work is bounded by the section's size.
TDwarfLines ReadDwarfLines(std::span<const uint8_t> elfFile, const std::string& fileName);

}  // namespace hexmoor
