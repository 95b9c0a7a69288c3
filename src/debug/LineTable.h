// Where each source line's code went, for a debugger: made from an assembly of the
// program's source, or read from an ELF program's DWARF line table. It gives the Source
// window the line PC is on and turns FILE:LINE into an address.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hexmoor {

struct TLineEntry {
    uint16_t Address = 0;
    uint16_t Length = 0;  // bytes of code from Address that belong to the line
    int File = 0;         // index into TLineTable::Files
    int Line = 0;         // 1-based
};

struct TLineTable {
    // Source files by the path the program names them with: as the assembler opened them,
    // or the DWARF file name joined to its directory (absolute when the DWARF says so).
    std::vector<std::string> Files;
    std::vector<TLineEntry> Entries;  // only lines that gave code (Length > 0)
    bool Empty() const { return Entries.empty(); }
};

}  // namespace hexmoor
