// The terminal link's state: typed-ahead input and the program waiting for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace hexmoor {

inline constexpr char kAbortByte = char(0x95);  // ends a wait for terminal input

struct TTerminalState {
    // Bytes typed ahead (Windows-1252 codes, NUL and CR intact): the InputConsole edit.
    std::string InputBuffer;
    bool WaitingForInput = false;
    // An escape sequence (byte 7, a command, and for a cursor move a column and a row).
    bool ConsoleEscape = false;
    uint8_t ConsoleEscapeState = 0;  // 0 command, 1 column, 2 row expected
    uint8_t ConsoleGotoColumn = 0;
    // The input file feeds the buffer line by line; typed keys are ignored meanwhile.
    bool InputFileOpen = false;
    std::string InputFileName;
    std::string InputFileText;
    std::size_t InputFilePosition = 0;
    bool PrinterOpen = false;
};

}  // namespace hexmoor
