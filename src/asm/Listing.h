// The listing file: each source line beside its address, bytes and cycles, the messages
// under the line they belong to, then the symbol table.
#pragma once

#include <string>
#include <vector>

#include "asm/AsmContext.h"

namespace hexmoor {

std::string ListingOf(const std::vector<TListedLine>& lines, const TAssembly& assembly);

}  // namespace hexmoor
