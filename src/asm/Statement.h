// One source line: its label, then the directive or instruction it names.
#pragma once

#include <string>
#include <string_view>

#include "asm/AsmContext.h"

namespace hexmoor {

// What a line leaves to the reader of the files: a file to read in its place, or the end.
struct TLineAction {
    enum class TKind : uint8_t { None, Include, End } Kind = TKind::None;
    std::string Path;  // as INCLUDE wrote it
    std::size_t Column = 0;
};

TLineAction AssembleLine(TAsmContext& context, std::string_view line);

}  // namespace hexmoor
