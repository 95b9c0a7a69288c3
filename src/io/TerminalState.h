// The terminal link's state: typed-ahead input and the program waiting for it.
#pragma once

#include <string>

namespace hexmoor {

inline constexpr char kAbortByte = char(0x95);  // ends a wait for terminal input

struct TTerminalState {
    // Bytes typed ahead (Windows-1252 codes, NUL and CR intact): the InputConsole edit.
    std::string InputBuffer;
    bool WaitingForInput = false;
    bool ConsoleEscape = false;  // an escape sequence is being received
    bool InputFileOpen = false;
};

}  // namespace hexmoor
