// The runner's front panel (standard streams instead of a window) and its run loop.
#include "app/HeadlessRunner.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <set>

#include "core/Machine.h"
#include "core/TextLineReader.h"

namespace hexmoor {

namespace {

// The signal that asked the run to end (SIGINT, SIGTERM, SIGHUP), 0 while none has. The
// handler only sets it; the run loop and the wait for input look at it.
volatile sig_atomic_t gEndSignal = 0;

extern "C" void NoteEndSignal(int number) { gEndSignal = number; }

void CatchEndSignals() {
    gEndSignal = 0;
    struct sigaction action {};
    action.sa_handler = NoteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked read of standard input returns
    for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

const std::set<std::string, std::less<>> kResetDialogs{
    "PowerOn Reset", "External Reset", "Clock Monitor Fail Reset", "COP Watchdog Timeout Reset"};

class TRunnerPanel : public TFrontPanel {
public:
    // A program read from standard input leaves nothing there to type.
    TRunnerPanel(const TRunnerOptions& options) : options_(options), stdinOpen_(options.Program != "-") {}
    ~TRunnerPanel() override { PrinterClose(); }

    void Attach(TMachine& machine) { machine_ = &machine; }

    void PanelChanged(TPanelItem) override {}

    // The stream of what the program writes, unless the final screen is printed instead.
    void TerminalWritten(uint8_t byte) override {
        waitLoopSince_.reset();  // a program that writes is not idle
        lastWrite_ = machine_->CycleCount;
        if (options_.Screen) return;
        std::putc(byte, stdout);
        lastOutput_ = byte;
        if (!outputPending_) {
            outputPending_ = true;
            pendingSince_ = std::chrono::steady_clock::now();
        }
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
        if (!waitLoopSince_ || instruction - lastEmptyStatus_ > kWaitLoopGap || !InputRanOut())
            waitLoopSince_ = cycle;
        lastEmptyStatus_ = instruction;
        if (uint64_t(cycle - *waitLoopSince_) >= options_.IdleCycles) {
            EndedWaitingForInput = true;
            machine_->RunClick();
        }
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
        while (!gEndSignal && StdinFeeds() && ReadInput(-1))
            if (gEndSignal || OfferInput(true)) return;
        if (!gEndSignal) EndedWaitingForInput = true;
        machine_->RunClick();
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
        if (options_.Pacing == TInputPacing::TypeAhead) TypePending(std::string::npos);
    }

    // --input is read by the runner, a line at a time, like standard input.
    void OpenInput(const std::string& path) { inputFile_.Open(path); }

    bool EndedWaitingForInput = false;
    // The output so far ends a line (or there is none): what is printed after it starts
    // on a line of its own.
    bool OutputEndsLine() const { return !lastOutput_ || *lastOutput_ == '\n'; }
    std::optional<std::string> Loading;  // the program file while it loads

    // The program's name in messages: "-" for standard input.
    std::string ShownName() const { return options_.Program; }

private:
    bool StdinFeeds() const { return !options_.InputFile && stdinOpen_; }

    // The program has read an empty buffer: the status port, or the data port, where it
    // waits. The next line is typed now, unless the pacing says to wait: like a person at
    // the keyboard, the runner types when the program has printed nothing for a while (a
    // monitor that looks for an abort key while it prints a listing does not take the next
    // command for one). A read of the data port waits with the chip's clock stopped, so it
    // always gets the line. True when something was typed.
    bool OfferInput(bool dataRead) {
        if (options_.Pacing == TInputPacing::Paced && !dataRead && lastWrite_ &&
            machine_->CycleCount - *lastWrite_ < kQuietCycles)
            return false;
        const bool all = options_.Pacing == TInputPacing::TypeAhead;
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
    // input as keys: LF (or CR LF) is the Enter key, a CR. False at the end of input.
    // A signal interrupts the wait: true, the caller sees gEndSignal.
    bool ReadInput(int timeout) {
        pollfd fd{STDIN_FILENO, POLLIN, 0};
        int ready;
        while ((ready = poll(&fd, 1, timeout)) < 0 && errno == EINTR && !gEndSignal) {
        }
        if (gEndSignal) return true;
        if (ready <= 0) return timeout == 0;
        char buffer[4096];
        ssize_t count;
        while ((count = read(STDIN_FILENO, buffer, sizeof buffer)) < 0 && errno == EINTR && !gEndSignal) {
        }
        if (gEndSignal && count < 0) return true;
        if (count <= 0) {
            stdinOpen_ = false;
            return false;
        }
        for (ssize_t i = 0; i < count; ++i) {
            const char c = buffer[i];
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
    std::optional<int64_t> waitLoopSince_;  // the cycle the present wait loop began
    uint64_t lastEmptyStatus_ = 0;           // the instruction count at the last empty status read
    std::chrono::steady_clock::time_point pendingSince_;
};

// A WAI that nothing can end here. There are no IRQ and XIRQ buttons, and no input pins to
// click: only an enabled source that time drives can wake it, and only while I is clear.
// Time drives the output compares, the real-time interrupt, the timer overflow, and the
// pulse accumulator while its time gate is open (every count sets PAIF, the wrap PAOVF).
// The input captures, the pulse accumulator's input edges and SPI/SCI need the outside
// world; IC4/OC5 requests nothing. A request already pending wakes it too.
bool WaitsForever(const TMachine& m) {
    if (m.FlagI) return true;
    uint16_t timed = IntOC1 | IntOC2 | IntOC3 | IntOC4 | IntRTI | IntTOF;
    if (m.PulseGate) timed |= IntPAI | IntPAOV;
    return (m.EnabledInterrupts & (timed | m.PendingInterrupts)) == 0;
}

void PrintScreen(const TTerminalScreen& screen) {
    for (int row = 1; row <= screen.Rows(); ++row) {
        std::string text = screen.RowText(row);
        text.erase(text.find_last_not_of(' ') + 1);
        std::printf("%s\n", text.c_str());
    }
}

}  // namespace

int RunHeadless(const TRunnerOptions& options) {
    TRunnerPanel panel(options);
    auto machine = std::make_unique<TMachine>(panel);
    TMachine& m = *machine;
    panel.Attach(m);
    m.Panel.WarningsMenu.Checked = options.Warnings;
    m.Panel.InterruptsMenu.Checked = options.Interrupts;
    m.Panel.InternalRegistersMenu.Checked = options.RegistersIo;

    // Files named by options are checked before anything loads or runs.
    if (options.InputFile) {
        TTextLineReader input;
        if (!input.Open(*options.InputFile)) {
            std::fprintf(stderr, "hexmoor-run: %s: %s\n", options.InputFile->c_str(), input.Error().c_str());
            return kExitFile;
        }
    }
    if (!panel.OpenPrinter()) return kExitFile;

    // A program of "-" is read from standard input.
    panel.Loading = options.Program == "-" ? std::string("/dev/stdin") : options.Program;
    const TLoadResult loaded = m.LoadFile(*panel.Loading);
    panel.Loading.reset();
    if (loaded == TLoadResult::NoData)
        std::fprintf(stderr, "hexmoor-run: %s: no loadable data\n", options.Program.c_str());
    if (loaded != TLoadResult::Loaded) return kExitFile;
    if (options.TraceFile && !m.OpenLogFile(*options.TraceFile)) return kExitFile;
    m.ResetMoor(ExternalReset);
    if (options.InputFile) panel.OpenInput(*options.InputFile);
    if (options.BreakPoint) m.BreakPointAddress = *options.BreakPoint;

    const uint64_t maxInstructions = options.MaxInstructions.value_or(UINT64_MAX);
    const int64_t maxCycles = int64_t(std::min<uint64_t>(options.MaxCycles.value_or(INT64_MAX), INT64_MAX));
    const bool trace = options.TraceFile.has_value();
    m.Panel.RunningLed.Enabled = true;
    m.Panel.RunningLed.Lit = true;
    const auto start = std::chrono::steady_clock::now();
    // Every few thousand passes (instructions, or idle passes of a WAI) standard input is
    // polled and output that has waited long enough goes out; the limits, the end
    // conditions and the signals are tested after every pass.
    CatchEndSignals();
    bool waitsForever = false;
    constexpr uint32_t kPollInterval = 4096;
    uint32_t untilPoll = kPollInterval;
    while (m.Panel.RunningLed.Lit && !m.StopExecuted && m.InstructionCount < maxInstructions &&
           m.CycleCount < maxCycles && !gEndSignal) {
        m.RunPass();
        if (m.RunState == RunWaiting && WaitsForever(m)) {
            waitsForever = true;
            break;
        }
        if (trace && m.RunState != RunWaiting) m.DecodeInstruction();
        if (--untilPoll == 0) {
            panel.PollInput();
            panel.FlushOutputIfOld();
            untilPoll = kPollInterval;
        }
    }
    const int endSignal = gEndSignal;
    // The program ended (STOP, a WAI nothing can wake, the breakpoint, no more input), or
    // a limit cut it off.
    const bool programEnded = waitsForever || m.StopExecuted || !m.Panel.RunningLed.Lit;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.CloseLogFile();
    m.CloseMenuClick();  // the printer output is complete; says what it could not print

    if (options.Screen) PrintScreen(m.Screen);
    if (options.Registers) {
        m.DecodeInstruction();
        if (!panel.OutputEndsLine()) std::putc('\n', stdout);
        std::printf("%s", m.TraceLine().c_str());
    }
    std::fflush(stdout);
    const bool limited = endSignal == 0 && !programEnded;
    if (limited) {
        if (m.InstructionCount >= maxInstructions)
            std::fprintf(stderr, "hexmoor-run: stopped after %llu instructions (--max-instructions)\n",
                         static_cast<unsigned long long>(m.InstructionCount));
        else
            std::fprintf(stderr, "hexmoor-run: stopped after %lld cycles (--max-cycles)\n",
                         static_cast<long long>(m.CycleCount));
    }
    if (options.Stats) {
        std::fprintf(stderr, "instructions: %llu\ncycles: %lld\nseconds: %.3f\nmips: %.1f\n",
                     static_cast<unsigned long long>(m.InstructionCount),
                     static_cast<long long>(m.CycleCount), seconds,
                     seconds > 0 ? double(m.InstructionCount) / seconds / 1e6 : 0.0);
    }
    // Ended by a signal: the shell's status for it, 128 + its number (130 for SIGINT).
    if (endSignal != 0) return 128 + endSignal;
    return limited ? kExitLimit : kExitNormal;
}

}  // namespace hexmoor
