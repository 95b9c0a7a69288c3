// Where each compilation unit of an ELF program was assembled or compiled: the directory
// its line program's relative file names start from (DWARF versions 2 to 4 keep it in
// .debug_info, not in the line program).
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string_view>

#include "debug/DwarfForms.h"

namespace hexmoor {

struct TDwarfInfoSections {
    std::span<const uint8_t> Info, Abbrev, Strings, LineStrings;
    bool BigEndian = true;
};

// The compilation directory of each unit that names one, by the offset of the unit's line
// program in .debug_line. Units that cannot be read are left out: their files keep the
// directories the line program gives.
std::map<uint64_t, std::string_view> ReadCompileDirs(const TDwarfInfoSections& sections);

}  // namespace hexmoor
