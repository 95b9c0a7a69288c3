// The runner's front panel: the program's terminal on standard input and output, its
// messages on standard error, the printer in a file.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "app/AnsiTerminal.h"
#include "app/HeadlessRunner.h"
#include "app/RunnerInput.h"
#include "core/Machine.h"

namespace hexmoor {

class TRunnerPanel : public TFrontPanel {
public:
    explicit TRunnerPanel(const TRunnerOptions& options) : options_(options) {}
    ~TRunnerPanel() override { PrinterClose(); }

    void Attach(TMachine& machine) {
        machine_ = &machine;
        input_.emplace(options_, machine);
    }
    TRunnerInput& Input() { return *input_; }

    // Standard output is a terminal: what the screen shows goes out as ANSI sequences.
    void UseAnsiOutput() { ansi_.emplace(); }
    // The end of the run: the real terminal as the run found it, all output written.
    void EndOutput();
    // Text of the runner's own for standard output (the final screen, the registers).
    void WriteOut(const std::string& text);
    // Writes out what standard output holds.
    void FlushOutput();
    // Standard output, the printer file or the trace could not be written (and it was said).
    bool WriteFailed() const { return writeFailed_; }

    // The printer file is created before the run, so a name that cannot be written fails
    // at once; reopened after a close, it is added to.
    bool OpenPrinter();

    // Between passes: new input, and output that has waited long enough goes out.
    void PollInput();
    void FlushOutputIfOld();

    // The output so far ends a line (or there is none): what is printed after it starts
    // on a line of its own.
    bool OutputEndsLine() const { return !lastOutput_ || *lastOutput_ == '\n'; }
    std::optional<std::string> Loading;  // the program file while it loads

    // --- The front panel ------------------------------------------------------------------
    void PanelChanged(TPanelItem) override {}
    void TerminalWritten(uint8_t byte) override;
    void TerminalEscaped(uint8_t command, uint8_t column, uint8_t row) override;
    TMessageResult ShowMessage(TMessageKind kind, TMessageButtons buttons, std::string_view text) override;
    std::optional<std::string> AskFileName(const TFileQuestion&) override { return {}; }
    std::optional<std::string> AskBreakPointAddress(const std::string&) override { return {}; }
    // Standard input is read by the run loop itself, from the reset on: a load pumps
    // events too, and the reset empties the input buffer.
    void PumpEvents() override {}
    TMessageResult WaitForIoPause() override { return TMessageResult::Ok; }
    void WaitForEvents() override;
    void StatusFoundNoInput() override;
    void Beep() override {}
    void FocusTerminal() override {}
    void HardCopy(const std::vector<std::string>& rows) override;
    std::string PrinterWrite(uint8_t byte) override;
    void PrinterClose() override;

private:
    void EndRun();
    void Emit(const std::string& text);
    void OutputFailed();

    const TRunnerOptions& options_;
    TMachine* machine_ = nullptr;
    std::optional<TRunnerInput> input_;
    bool writeFailed_ = false;

    // Output.
    std::optional<TAnsiTerminal> ansi_;
    std::optional<uint8_t> lastOutput_;
    bool outputPending_ = false;
    bool outputFailed_ = false;
    std::chrono::steady_clock::time_point pendingSince_;
    int64_t lastNap_ = 0;  // the cycle of the last pause for keys in a wait loop

    // The printer.
    bool printerNoted_ = false;
    std::FILE* printer_ = nullptr;
};

}  // namespace hexmoor
