// The machine's call stack as a debugger shows it: frames newest first, frame 0 where PC is,
// each older one at its call (or at the instruction an interrupt interrupted), named, on its
// source line, with what it entered.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "debug/Breakpoints.h"
#include "debug/LineTable.h"

namespace hexmoor {

class TDebugger;
class TMachine;

struct TStackFrame {
    uint16_t Address = 0;
    std::string Where;                   // "$E00B (main+3)"
    std::optional<TSourceLineRef> Line;  // when the program's line table has the address
    // What the frame entered (none for frame 0): the routine or handler, and for an
    // interrupt, its source by its vector ("SCI", "RTI", "SWI", "illegal opcode").
    std::optional<uint16_t> Entered;
    std::string Routine;  // "$E020 (delay)"
    std::string Interrupt;
};

struct TStackFrames {
    std::vector<TStackFrame> Frames;
    uint64_t Lost = 0;  // older frames than these the machine had no room to keep
};

TStackFrames StackFramesOf(const TMachine& machine, const TDebugger& debugger, const TLineTable& lines);

// "prog.asm:12", the file without its folders; empty when the frame has no source line.
std::string FrameLineText(const TStackFrame& frame);
// "call to $E020 (delay)", "interrupt (SCI) to $E100 (receive)"; empty for frame 0.
std::string FrameEnteredText(const TStackFrame& frame);
// "#1  $E00B (main+3)  prog.asm:12  call to $E020 (delay)"
std::string StackFrameText(std::size_t number, const TStackFrame& frame);
// Every frame's text, and a last line counting the frames lost, if any.
std::vector<std::string> StackLines(const TStackFrames& frames);

}  // namespace hexmoor
