// The lines of a code view: the disassembly from any address, with a label line where one
// of the program's symbols starts. Memory is read by peeks: a view never disturbs the board.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "debug/Symbols.h"

namespace hexmoor {

class TMachine;

struct TCodeLine {
    uint16_t Address = 0;
    std::string Label;  // a label line ("loop") before the instruction at Address; else empty
    int Length = 0;     // the instruction's bytes; 0 on a label line
    std::string Bytes;  // "B6 10 04"
    std::string Text;   // the listing form: "LDAA PORTB", "FCB $41"
};

int InstructionLength(const TMachine& machine, uint16_t address);

// Up to `rows` lines from the instruction at `top` on, as far as the end of memory.
std::vector<TCodeLine> CodeLines(const TMachine& machine, const TSymbolTable& symbols, uint16_t top, std::size_t rows);

// Where the instruction before the one at `top` starts. Code has no marks of where its
// instructions begin, so this tries starts a few bytes back, the farthest first (the longer
// a run of instructions, the likelier it is in step with the code), and takes the first
// whose instructions end exactly at `top`; none does only where data comes before: then
// `top - 1`, one byte of data. $0000 has nothing before it.
uint16_t InstructionBefore(const TMachine& machine, uint16_t top);

// The instruction `lines` instructions after (or, negative, before) the one at `address`,
// stopping at the first instruction and the last one of memory.
uint16_t InstructionsFrom(const TMachine& machine, uint16_t address, int lines);

}  // namespace hexmoor
