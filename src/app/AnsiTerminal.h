// What the program's terminal shows, as the ANSI sequences a real terminal obeys: the
// runner writes these instead of the program's bytes when standard output is a terminal,
// so screen-drawing programs look as they do in the window.
#pragma once

#include <cstdint>
#include <string>

#include "io/Lumocrt/TerminalScreen.h"

namespace hexmoor {

class TAnsiTerminal {
public:
    // The text for a byte the screen has just taken (`screen` as it is after the byte).
    std::string Shown(uint8_t byte, const TTerminalScreen& screen);
    // The text for an escape command the screen has just obeyed.
    std::string Escaped(uint8_t command, const TTerminalScreen& screen);
    // What leaves the real terminal as the run found it: the caret shown.
    std::string Restore() const;

private:
    int column_ = 1, row_ = 1;  // the screen's cursor before the byte
    bool caretHidden_ = false;
};

}  // namespace hexmoor
