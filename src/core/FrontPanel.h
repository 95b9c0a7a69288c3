// The one interface through which the core reaches the outside world: the Qt window, the
// headless runner and the tests' scripted panel each implement it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace hexmoor {

// What a message is about, which decides how it is shown: the three plain kinds, and the
// ones a panel may treat on their own (the runner names the breakpoint's address, passes
// the reset dialogs over, fails the run when an output file could not be written, and
// prints a note about the program as it is, without a file position).
enum class TMessageKind { Warning, Information, Confirmation, BreakPoint, Reset, WriteFailed, Note };
enum class TMessageButtons { Ok, OkCancel, YesNo };
enum class TMessageResult { Ok, Cancel, Yes, No };

// Which part of the core's panel state changed; the view repaints only that.
enum class TPanelItem {
    Readouts,          // register and memory read-outs, PC, cycle count
    Trace,             // the trace line (InstructionLabel)
    MemoryMap,
    RunControls,       // Loaded, Running and Step LEDs
    StatusLed,
    InterruptButtons,  // IRQ and XIRQ hints
    Menus,             // enabled and checked states, the log file
    Ports,             // the port LED groups
    TerminalScreen,    // what the terminal shows
    TypedInput,        // the typed-ahead input box: its text, and lime while a read waits
    TerminalStacking,  // the terminal in front of or behind the other panels
    IoPause,           // the I/O pause panel shown or hidden
    AnalogInputs,      // slider read-outs
    Layout,            // 640 x 480 or 800 x 600
    Hints,             // the global hints switch
    Count              // the number of items
};

// What a file dialog asks for.
struct TFileQuestion {
    std::string Title;
    std::string Filter;  // "S19 Files (*.s19)|*.s19|All  (*.*)|*.*"
    std::string DefaultExtension;
    std::string ProposedName;
    bool MustExist = false;
    bool ForWriting = false;  // a name to create: it need not exist
    bool Program = false;     // the program to load (a debugger reads its symbols)
};

class TFrontPanel {
public:
    virtual ~TFrontPanel() = default;

    // --- Change notifications ---------------------------------------------------------
    virtual void PanelChanged(TPanelItem item) = 0;
    // A byte the program sent to the terminal screen (escape sequences excluded), after
    // the screen took it.
    virtual void TerminalWritten(uint8_t) {}
    // An escape sequence the program completed (byte 7, then `command`, and for a cursor
    // move the column and row it gave), after the screen obeyed it.
    virtual void TerminalEscaped(uint8_t /*command*/, uint8_t /*column*/, uint8_t /*row*/) {}

    // --- Questions a person answers ---------------------------------------------------
    virtual TMessageResult ShowMessage(TMessageKind kind, TMessageButtons buttons,
                                       std::string_view text) = 0;
    // A file name, or nothing when the dialog is cancelled.
    virtual std::optional<std::string> AskFileName(const TFileQuestion& question) = 0;
    // The breakpoint dialog: shows `current`, returns the edited text or nothing on Cancel.
    virtual std::optional<std::string> AskBreakPointAddress(const std::string& current) = 0;

    // --- Waits ------------------------------------------------------------------------
    // Handles every pending user action, then returns.
    virtual void PumpEvents() = 0;
    // Handles user actions until the I/O pause panel's OK (Ok) or Cancel (Cancel) button.
    virtual TMessageResult WaitForIoPause() = 0;
    // Waits for at least one user action (a key, a click) and handles it, without spinning.
    virtual void WaitForEvents() = 0;
    // The program read the terminal status port and found no input (the machine's WaitLoop
    // says whether it waits for a key in a loop). A panel that types for a person may type
    // now; the read then sees it. Nothing to do for a window.
    virtual void StatusFoundNoInput() {}
    // Handles user actions until `time` (a run paced to the chip's clock is ahead of it).
    virtual void WaitUntil(std::chrono::steady_clock::time_point time) {
        std::this_thread::sleep_until(time);
    }

    // --- Devices the core cannot own -----------------------------------------------------
    virtual void Beep() = 0;
    virtual void FocusTerminal() = 0;
    // Prints the terminal's rows as one page.
    virtual void HardCopy(const std::vector<std::string>& rows) = 0;
    // The printer stream: opened by the first byte, completed as one document by Close.
    // Write returns "" or why the byte could not be printed.
    virtual std::string PrinterWrite(uint8_t byte) = 0;
    virtual void PrinterClose() = 0;
};

}  // namespace hexmoor
