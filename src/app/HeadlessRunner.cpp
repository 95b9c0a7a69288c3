// The runner's run: prepare (files, load, reset), run pass by pass to an end or a limit,
// report (the final screen and registers, statistics, the exit status).
#include "app/HeadlessRunner.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/EndSignals.h"
#include "app/RawTerminal.h"
#include "app/RunnerDebugging.h"
#include "app/RunnerPanel.h"
#include "app/RunnerState.h"
#include "core/Machine.h"
#include "core/TextLineReader.h"

namespace hexmoor {

namespace {

class THeadlessRun {
public:
    explicit THeadlessRun(const TRunnerOptions& options)
        : options_(options), panel_(options), machine_(std::make_unique<TMachine>(panel_)), m_(*machine_) {
        panel_.Attach(m_);
        m_.Panel.WarningsMenu.Checked = options.Warnings;
        m_.Panel.InterruptsMenu.Checked = options.Interrupts;
        m_.Panel.InternalRegistersMenu.Checked = options.RegistersIo;
        if (options.Bootstrap) m_.ModeLedClick();
    }

    // Checks the files the options name, loads the program, sets breakpoints and
    // watchpoints and resets the chip; the exit status (the cause said) when something kept
    // the run from starting.
    std::optional<int> Prepare();
    void Run();
    // The final screen and registers, the limit reached, the statistics; the exit status.
    int Report();
    // --stats: what ran, how fast, why it ended ("stop", "limit", ...) and the exit status.
    void PrintStats(const char* ended, int status) const;

private:
    bool LimitReached() const { return m_.InstructionCount >= maxInstructions_ || m_.CycleCount >= maxCycles_; }
    bool Going() const { return m_.Panel.RunningLed.Lit && !m_.StopExecuted && !LimitReached() && !EndSignal(); }
    void RunTracedPass();
    void PrintScreen();
    const char* WhyEnded() const;

    const TRunnerOptions& options_;
    TRunnerPanel panel_;
    std::unique_ptr<TMachine> machine_;
    TMachine& m_;
    const uint64_t maxInstructions_ = options_.MaxInstructions.value_or(UINT64_MAX);
    const int64_t maxCycles_ = int64_t(std::min<uint64_t>(options_.MaxCycles.value_or(INT64_MAX), INT64_MAX));
    // A program given as source: its errors and warnings as compilers write them.
    TDebugSession session_{m_, [](const TAssembly& assembly) {
        for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics)
            std::fprintf(stderr, "%s\n", FormatDiagnostic(diagnostic).c_str());
    }};
    TRunnerDebugging debugging_{options_, m_, session_};
    TRunnerState state_{options_};
    TRawTerminal terminal_;
    bool waitsForever_ = false;
    int endSignal_ = 0;
    double seconds_ = 0;
};

std::optional<int> THeadlessRun::Prepare() {
    // Files named by options are checked before anything loads or runs.
    if (options_.InputFile) {
        TTextLineReader input;
        if (!input.Open(*options_.InputFile)) {
            std::fprintf(stderr, "hexmoor-run: %s: %s\n", options_.InputFile->c_str(), input.Error().c_str());
            return kExitFile;
        }
    }
    if (!state_.Read() || !panel_.OpenPrinter()) return kExitFile;

    // A program of "-" is read from standard input.
    panel_.Loading = options_.Program == "-" ? std::string("/dev/stdin") : options_.Program;
    session_.ProgramChosen(options_.Program);
    const TLoadResult loaded = m_.LoadFile(*panel_.Loading);
    panel_.Loading.reset();
    // The loader has said what kept the program from loading whole; nothing runs then.
    if (loaded != TLoadResult::Loaded) return kExitFile;
    state_.ProgramLoaded(m_);
    if (std::optional<int> status = debugging_.Prepare()) return status;
    if (options_.TraceFile && !m_.OpenLogFile(*options_.TraceFile)) return kExitFile;
    m_.ResetMoor(ExternalReset);
    state_.Restore(m_);
    if (options_.InputFile) panel_.Input().OpenFile(*options_.InputFile);
    return std::nullopt;
}

// The run goes in slices of a few thousand passes (instructions, or idle passes of a WAI):
// between them standard input is polled and output that has waited long enough goes out.
// A slice ends early at a limit, at STOP and when the run state changes, so the end
// conditions are met where a pass-by-pass run meets them. Traced, the run goes pass by
// pass, each instruction logged.
void THeadlessRun::Run() {
    m_.Panel.RunningLed.Enabled = true;
    m_.Panel.RunningLed.Lit = true;
    if (m_.Debugger) m_.Debugger->RunStarts(m_);
    const auto start = std::chrono::steady_clock::now();
    CatchEndSignals();
    // A person at a terminal types to the program directly, as on a serial line.
    if (panel_.Input().FromKeyboard() && terminal_.Enter(STDIN_FILENO)) {
        std::fprintf(stderr, "hexmoor-run: keys go to the program as typed; Ctrl-] ends the run\n");
        panel_.Input().BeInteractive();
    }
    if (isatty(STDOUT_FILENO) && !options_.Screen) panel_.UseAnsiOutput();
    const bool trace = options_.TraceFile.has_value();
    const TRunLimits limits{maxInstructions_, maxCycles_};
    constexpr uint32_t kPollInterval = 4096;
    uint32_t untilPoll = kPollInterval;
    while (Going()) {
        uint32_t passes = 1;
        if (trace) {
            RunTracedPass();
        } else {
            passes = m_.RunSlice(limits, untilPoll);
        }
        // A WAI that nothing the runner can do will end: no buttons, no input pins. Typed
        // input wakes one that waits for the SCI's receive interrupt, if more can come.
        if (m_.RunState == RunWaiting && m_.OnlyAClickCanWake()) {
            if (!m_.SciWakesOnInput()) {
                waitsForever_ = true;
                break;
            }
            panel_.WaitForEvents();
        }
        untilPoll -= std::min(passes, untilPoll);
        if (untilPoll == 0) {
            panel_.PollInput();
            panel_.FlushOutputIfOld();
            untilPoll = kPollInterval;
        }
    }
    endSignal_ = EndSignal();
    panel_.EndOutput();
    terminal_.Restore();
    if (panel_.Input().EndedByUser()) std::fprintf(stderr, "\nhexmoor-run: ended by Ctrl-]\n");
    seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m_.CloseLogFile();
    m_.CloseMenuClick();  // the printer output is complete; says what it could not print
}

// The log gets the next instruction's line after each instruction executed and each
// interrupt entered. A pass that stopped before a breakpoint executed nothing, and one that
// reset the chip has logged its own line: the line they would add is the last one again.
void THeadlessRun::RunTracedPass() {
    const uint64_t instructions = m_.InstructionCount, interrupts = m_.Transfers.InterruptCount;
    m_.RunPass();
    m_.AskDebuggerAfterPass();
    const bool moved = m_.InstructionCount != instructions || m_.Transfers.InterruptCount != interrupts;
    if (moved && m_.RunState != RunWaiting) m_.DecodeInstruction();
}

void THeadlessRun::PrintScreen() {
    std::string text;
    for (int row = 1; row <= m_.Screen.Rows(); ++row) {
        std::string line = m_.Screen.RowText(row);
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + '\n';
    }
    panel_.WriteOut(text);
}

int THeadlessRun::Report() {
    const bool saved = state_.Write(m_);
    if (options_.Screen) PrintScreen();
    if (options_.Registers) {
        m_.DecodeInstruction();
        panel_.WriteOut(std::string(panel_.OutputEndsLine() ? "" : "\n") + m_.TraceLine());
    }
    if (!options_.Dumps.empty()) panel_.WriteOut(std::string(panel_.OutputEndsLine() ? "" : "\n") + debugging_.Dumps());
    panel_.FlushOutput();
    // The program ended (STOP, a WAI nothing can wake, a breakpoint or watchpoint, no more
    // input), or
    // a limit cut it off.
    const bool programEnded = waitsForever_ || m_.StopExecuted || !m_.Panel.RunningLed.Lit;
    const bool limited = endSignal_ == 0 && !programEnded;
    if (limited) {
        if (m_.InstructionCount >= maxInstructions_)
            std::fprintf(stderr, "hexmoor-run: stopped after %llu instructions (--max-instructions)\n",
                         static_cast<unsigned long long>(m_.InstructionCount));
        else
            std::fprintf(stderr, "hexmoor-run: stopped after %lld cycles (--max-cycles)\n",
                         static_cast<long long>(m_.CycleCount));
    }
    if (options_.Backtrace) debugging_.PrintCallStack();
    int status = limited ? kExitLimit : kExitNormal;
    const char* ended = limited ? "limit" : WhyEnded();
    // Ended by a signal: the shell's status for it, 128 + its number (130 for SIGINT).
    if (endSignal_ != 0) {
        status = 128 + endSignal_;
        ended = "signal";
    } else if (!saved || !panel_.Input().Failure().empty() || panel_.WriteFailed()) {
        status = kExitFile;
        ended = "error";
    }
    PrintStats(ended, status);
    return status;
}

// Why a run that no limit, signal or failure cut off ended.
const char* THeadlessRun::WhyEnded() const {
    const std::optional<TDebugStop>& stop = session_.Debugger().LastStop();
    if (stop && !m_.Panel.RunningLed.Lit) {
        const bool watched = stop->Kind == TDebugStop::Watchpoint || stop->Kind == TDebugStop::Change;
        return watched ? "watchpoint" : "breakpoint";
    }
    if (m_.StopExecuted) return "stop";
    if (waitsForever_) return "wai";
    return "input";
}

void THeadlessRun::PrintStats(const char* ended, int status) const {
    const double mips = seconds_ > 0 ? double(m_.InstructionCount) / seconds_ / 1e6 : 0.0;
    const auto instructions = static_cast<unsigned long long>(m_.InstructionCount);
    const auto cycles = static_cast<long long>(m_.CycleCount);
    if (options_.Stats == TStatsForm::Text)
        std::fprintf(stderr, "instructions: %llu\ncycles: %lld\nseconds: %.3f\nmips: %.1f\n", instructions, cycles,
                     seconds_, mips);
    else if (options_.Stats == TStatsForm::Json)
        std::fprintf(stderr,
                     "{\"instructions\": %llu, \"cycles\": %lld, \"seconds\": %.6f, \"mips\": %.3f, "
                     "\"ended\": \"%s\", \"status\": %d}\n",
                     instructions, cycles, seconds_, mips, ended, status);
}

}  // namespace

int RunHeadless(const TRunnerOptions& options) {
    THeadlessRun run(options);
    if (std::optional<int> status = run.Prepare()) {
        run.PrintStats("error", *status);  // a script reading the summary gets one still
        return *status;
    }
    run.Run();
    return run.Report();
}

}  // namespace hexmoor
