// The runner's front panel: the program's terminal on standard input and output, its
// messages on standard error, the printer in a file, and typed input paced like a person.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>
#include <string>

#include "app/AnsiTerminal.h"
#include "app/EndSignals.h"
#include "app/HeadlessRunner.h"
#include "core/Machine.h"
#include "core/TextLineReader.h"

namespace hexmoor {

inline const std::set<std::string, std::less<>> kResetDialogs{
    "PowerOn Reset", "External Reset", "Clock Monitor Fail Reset", "COP Watchdog Timeout Reset"};

class TRunnerPanel : public TFrontPanel {
public:
    // A program read from standard input leaves nothing there to type.
    TRunnerPanel(const TRunnerOptions& options)
        : options_(options), stdinOpen_(options.Program != "-"), pacing_(options.Pacing) {}
    ~TRunnerPanel() override { PrinterClose(); }

    void Attach(TMachine& machine) { machine_ = &machine; }

    void PanelChanged(TPanelItem) override {}

    // Standard output is a terminal: what the screen shows goes out as ANSI sequences.
    void UseAnsiOutput() { ansi_.emplace(); }

    // Standard input is a terminal in raw mode: keys are typed as they come, Ctrl-] ends
    // the run, and a program polling for a key runs at the chip's speed instead of spinning.
    void BeInteractive() {
        interactive_ = true;
        pacing_ = TInputPacing::TypeAhead;
    }
    bool EndedByUser() const { return endedByUser_; }
    // Standard input feeds the program and a person types it.
    bool StdinIsKeyboard() const { return StdinFeeds() && isatty(STDIN_FILENO); }

    // The stream of what the program writes (the screen's bytes and its escape sequences,
    // or their ANSI forms), unless the final screen is printed instead.
    void TerminalWritten(uint8_t byte) override {
        if (ansi_)
            Emit(ansi_->Shown(byte, machine_->Screen));
        else
            Emit(std::string(1, char(byte)));
    }

    void TerminalEscaped(uint8_t command, uint8_t column, uint8_t row) override {
        if (ansi_) {
            Emit(ansi_->Escaped(command, machine_->Screen));
        } else {
            std::string bytes{char(7), char(command)};
            if (command == 4) bytes += {char(column), char(row)};
            Emit(bytes);
        }
    }

    // The end of the run: the real terminal as the run found it.
    void EndOutput() {
        if (ansi_) std::fputs(ansi_->Restore().c_str(), stdout);
    }

    // Output waits in the buffer only while the program computes: it goes out when the
    // program waits for input, when it has waited 50 ms, and at the end.
    void FlushOutput() {
        if (!outputPending_) return;
        outputPending_ = false;
        std::fflush(stdout);
    }

    void FlushOutputIfOld() {
        if (outputPending_ && std::chrono::steady_clock::now() - pendingSince_ >= kOutputDelay)
            FlushOutput();
    }

    // A program waiting for input in a loop that polls the status port, when no more input
    // can come: it has read the empty status port at most kWaitLoopGap instructions after
    // the last such read, again and again, writing nothing, for the idle cycles. A program
    // that looks for an abort key between long stretches of work never counts as waiting.
    void StatusFoundNoInput() override {
        FlushOutput();
        if (OfferInput(false)) return;
        const uint64_t instruction = machine_->InstructionCount;
        const int64_t cycle = machine_->CycleCount;
        if (!waitLoopSince_ || instruction - lastEmptyStatus_ > kWaitLoopGap) waitLoopSince_ = cycle;
        lastEmptyStatus_ = instruction;
        if (interactive_) {
            NapForKeys();
            return;
        }
        if (!InputRanOut()) waitLoopSince_ = cycle;
        if (uint64_t(cycle - *waitLoopSince_) >= options_.IdleCycles) EndRun();
    }

    // Loader warnings, the breakpoint and the messages the options ask for go to stderr;
    // every dialog is answered OK.
    // While a program loads, its messages name the file, and the line for a record's
    // problems: "hexmoor-run: prog.s19: No such file", "hexmoor-run: prog.s19:3: Not Hex".
    TMessageResult ShowMessage(TMessageKind, TMessageButtons buttons, std::string_view text) override {
        if (text == "BreakPoint") {
            std::fprintf(stderr, "hexmoor-run: breakpoint at $%04X\n", unsigned(machine_->RegisterPC));
        } else if (!kResetDialogs.contains(text)) {
            std::string line(text);
            for (char& c : line)
                if (c == '\r') c = '\n';
            if (Loading) {
                const std::string cannot = "Cannot load " + *Loading + ": ";
                if (line.starts_with(cannot))
                    line = ShownName() + ": " + line.substr(cannot.size());
                else
                    line = ShownName() + ":" + std::to_string(machine_->LoadLineNumber) + ": " + line;
            }
            std::fprintf(stderr, "hexmoor-run: %s\n", line.c_str());
        }
        return buttons == TMessageButtons::YesNo ? TMessageResult::Yes : TMessageResult::Ok;
    }

    std::optional<std::string> AskFileName(const TFileQuestion&) override { return {}; }
    std::optional<std::string> AskBreakPointAddress(const std::string&) override { return {}; }
    // Standard input is read by the run loop itself, from the reset on: a load pumps
    // events too, and the reset empties the input buffer.
    void PumpEvents() override {}
    TMessageResult WaitForIoPause() override { return TMessageResult::Ok; }

    // The program waits for a character: block on standard input, or, when no more input
    // can come, end the run (which releases the wait).
    void WaitForEvents() override {
        FlushOutput();
        if (OfferInput(true)) return;
        while (!EndSignal() && StdinFeeds() && ReadInput(-1))
            if (EndSignal() || OfferInput(true)) return;
        EndRun();
    }

    void Beep() override {}
    void FocusTerminal() override {}

    void HardCopy(const std::vector<std::string>& rows) override {
        for (const std::string& row : rows) {
            for (char byte : row) PrinterWrite(uint8_t(byte));
            PrinterWrite('\n');
        }
    }

    std::string PrinterWrite(uint8_t byte) override {
        if (!options_.PrinterFile) {
            if (!printerNoted_)
                std::fprintf(stderr, "hexmoor-run: printer output discarded (use --printer FILE)\n");
            printerNoted_ = true;
            return "";
        }
        if (!printer_) printer_ = std::fopen(options_.PrinterFile->c_str(), "ab");
        if (!printer_ || std::fputc(byte, printer_) == EOF || std::fflush(printer_) != 0)
            return options_.PrinterFile->c_str() + std::string(": ") + std::strerror(errno);
        return "";
    }

    // The printer file is created before the run, so a name that cannot be written fails
    // at once; reopened after a close, it is added to.
    bool OpenPrinter() {
        if (!options_.PrinterFile) return true;
        printer_ = std::fopen(options_.PrinterFile->c_str(), "wb");
        if (!printer_)
            std::fprintf(stderr, "hexmoor-run: %s: %s\n", options_.PrinterFile->c_str(), std::strerror(errno));
        return printer_ != nullptr;
    }

    void PrinterClose() override {
        if (printer_) std::fclose(printer_);
        printer_ = nullptr;
    }

    // What standard input has ready, read without blocking; typed at once with --type-ahead.
    void PollInput() {
        if (StdinFeeds()) ReadInput(0);
        if (pacing_ == TInputPacing::TypeAhead) TypePending(std::string::npos);
        if (endedByUser_) EndRun();
    }

    // --input is read by the runner, a line at a time, like standard input.
    void OpenInput(const std::string& path) { inputFile_.Open(path); }

    // The output so far ends a line (or there is none): what is printed after it starts
    // on a line of its own.
    bool OutputEndsLine() const { return !lastOutput_ || *lastOutput_ == '\n'; }
    std::optional<std::string> Loading;  // the program file while it loads

    // The program's name in messages: "-" for standard input.
    std::string ShownName() const { return options_.Program; }

private:
    // Ends the run once: the run loop sees the Running LED go dark, a waiting read is released.
    void EndRun() {
        if (runEnded_) return;
        runEnded_ = true;
        machine_->RunClick();
    }

    void Emit(const std::string& text) {
        waitLoopSince_.reset();  // a program that writes is not idle
        lastWrite_ = machine_->CycleCount;
        if (options_.Screen || text.empty()) return;
        std::fwrite(text.data(), 1, text.size(), stdout);
        lastOutput_ = uint8_t(text.back());
        if (!outputPending_) {
            outputPending_ = true;
            pendingSince_ = std::chrono::steady_clock::now();
        }
    }

    // The program polls for a key in a loop: every millisecond of chip time in the loop,
    // wait a millisecond for keys, so the loop runs at about the chip's speed.
    void NapForKeys() {
        const int64_t cycle = machine_->CycleCount;
        if (cycle - lastNap_ < kNapCycles) return;
        lastNap_ = cycle;
        if (StdinFeeds()) ReadInput(1);
        TypePending(std::string::npos);
        if (endedByUser_) EndRun();
    }

    bool StdinFeeds() const { return !options_.InputFile && stdinOpen_; }

    // The program has read an empty buffer: the status port, or the data port, where it
    // waits. The next line is typed now, unless the pacing says to wait: like a person at
    // the keyboard, the runner types when the program has printed nothing for a while (a
    // monitor that looks for an abort key while it prints a listing does not take the next
    // command for one). A read of the data port waits with the chip's clock stopped, so it
    // always gets the line. True when something was typed.
    bool OfferInput(bool dataRead) {
        if (pacing_ == TInputPacing::Paced && !dataRead && lastWrite_ &&
            machine_->CycleCount - *lastWrite_ < kQuietCycles)
            return false;
        const bool all = pacing_ == TInputPacing::TypeAhead;
        if (inputFile_.IsOpen() && (pending_.empty() || all)) {
            std::string line;
            while (inputFile_.ReadLine(line)) {
                pending_ += line + '\r';
                if (!all) break;
            }
            if (!inputFile_.Error().empty()) {
                std::fprintf(stderr, "hexmoor-run: %s: %s\n", options_.InputFile->c_str(),
                             inputFile_.Error().c_str());
                inputFile_.Close();
            } else if (pending_.empty() || all) {
                inputFile_.Close();  // the end of the file
            }
        }
        if (pending_.empty()) return false;
        TypePending(all ? std::string::npos : pending_.find('\r'));
        return true;
    }

    // Types the pending input up to and with the CR at `end` (all of it for npos).
    void TypePending(std::size_t end) {
        end = end == std::string::npos ? pending_.size() : end + 1;
        for (std::size_t i = 0; i < end; ++i) machine_->FormKeyPress(uint8_t(pending_[i]));
        pending_.erase(0, end);
    }

    // Nothing waits to be read and nothing more can come.
    bool InputRanOut() const {
        return !StdinFeeds() && !inputFile_.IsOpen() && pending_.empty() && machine_->InputBuffer.Empty();
    }

    // Reads what is available (waiting up to timeout ms, -1 for ever) into the pending
    // input as keys: LF (or CR LF) is the Enter key, a CR; from a terminal in raw mode, keys
    // come as typed, and Ctrl-] ends the input and the run. False at the end of input.
    // A signal interrupts the wait: true, the caller sees EndSignal().
    bool ReadInput(int timeout) {
        pollfd fd{STDIN_FILENO, POLLIN, 0};
        int ready;
        while ((ready = poll(&fd, 1, timeout)) < 0 && errno == EINTR && !EndSignal()) {
        }
        if (EndSignal()) return true;
        if (ready <= 0) return timeout == 0;
        char buffer[4096];
        ssize_t count;
        while ((count = read(STDIN_FILENO, buffer, sizeof buffer)) < 0 && errno == EINTR && !EndSignal()) {
        }
        if (EndSignal() && count < 0) return true;
        if (count <= 0) {
            stdinOpen_ = false;
            return false;
        }
        for (ssize_t i = 0; i < count; ++i) {
            const char c = buffer[i];
            if (interactive_) {
                if (c == kEndKey) {
                    endedByUser_ = true;
                    stdinOpen_ = false;
                    return false;
                }
                pending_ += c;
                continue;
            }
            if (c == '\n' && lastWasCr_) {
                lastWasCr_ = false;
                continue;
            }
            lastWasCr_ = c == '\r';
            pending_ += c == '\n' ? '\r' : c;
        }
        return true;
    }

    const TRunnerOptions& options_;
    TMachine* machine_ = nullptr;
    bool stdinOpen_;
    std::optional<uint8_t> lastOutput_;
    bool lastWasCr_ = false;
    bool printerNoted_ = false;
    std::FILE* printer_ = nullptr;
    static constexpr std::chrono::milliseconds kOutputDelay{50};
    bool outputPending_ = false;
    std::string pending_;  // input read and not yet typed, Enter as CR
    TTextLineReader inputFile_;
    static constexpr int64_t kQuietCycles = 20000;  // 10 ms of chip time
    std::optional<int64_t> lastWrite_;             // the cycle of the last terminal write
    static constexpr uint64_t kWaitLoopGap = 64;
    static constexpr char kEndKey = 0x1D;        // Ctrl-]
    static constexpr int64_t kNapCycles = 2000;  // 1 ms of chip time
    int64_t lastNap_ = 0;
    TInputPacing pacing_;
    std::optional<TAnsiTerminal> ansi_;
    bool interactive_ = false;
    bool endedByUser_ = false;
    bool runEnded_ = false;
    std::optional<int64_t> waitLoopSince_;  // the cycle the present wait loop began
    uint64_t lastEmptyStatus_ = 0;           // the instruction count at the last empty status read
    std::chrono::steady_clock::time_point pendingSince_;
};

}  // namespace hexmoor
