// Standard input's terminal in raw mode while a program runs: no local echo, no line
// editing, every key (Ctrl-C included) delivered to the program as typed, like a serial
// terminal. The settings come back on every way out: the destructor, and a handler for
// the signals that end the process at once (crashes, SIGQUIT, SIGPIPE when the reader of
// standard output has gone). A stop (SIGTSTP) gives the terminal back until the runner is
// continued.
#pragma once

namespace hexmoor {

class TRawTerminal {
public:
    TRawTerminal() = default;
    TRawTerminal(const TRawTerminal&) = delete;
    TRawTerminal& operator=(const TRawTerminal&) = delete;
    ~TRawTerminal() { Restore(); }

    // Puts the terminal on `fd` in raw mode; false (and no change) when it is not one.
    bool Enter(int fd);
    // Puts back the settings Enter found; nothing when it changed none.
    void Restore();
};

}  // namespace hexmoor
