// The values of DWARF attributes by their form: the compilation unit's directory in
// .debug_info, and the directory and file entries of a version 5 line program's header.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "debug/DwarfCursor.h"

namespace hexmoor {

// What a form's size and meaning depend on.
struct TDwarfUnitShape {
    int Version = 2;
    uint8_t AddressSize = 4;
    std::span<const uint8_t> Strings;      // .debug_str
    std::span<const uint8_t> LineStrings;  // .debug_line_str
};

struct TDwarfValue {
    uint64_t Number = 0;
    std::optional<std::string_view> Text;  // for the forms that hold or point at a string
};

// DW_FORM_implicit_const: its value is in the abbreviation, not in the entry.
inline constexpr uint64_t kFormImplicitConst = 0x21;

// The value of a `form` at the cursor, the cursor past it; nothing for a form this reader
// does not know (the entry's later fields cannot be found then) or a value past the end.
std::optional<TDwarfValue> ReadDwarfForm(TDwarfCursor& cursor, uint64_t form, const TDwarfUnitShape& shape);

}  // namespace hexmoor
