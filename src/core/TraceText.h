// The assembler text of the instruction at PC, as the trace label and the log show it.
#pragma once

#include <cstdint>
#include <string>

namespace hexmoor {

class TMachine;

// Reads the instruction bytes straight from MemoryImage and the index registers as they
// are now, and names targets by the machine's TraceNames; changes nothing.
std::string BuildTraceText(const TMachine& machine);

// "S", "X", ... for set bits and blanks for clear ones, bit 7 first.
std::string CcrLetters(uint8_t ccr);

}  // namespace hexmoor
