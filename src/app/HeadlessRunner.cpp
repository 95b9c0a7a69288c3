// The runner's run loop: load, reset, run pass by pass to an end or a limit, report.
#include "app/HeadlessRunner.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/EndSignals.h"
#include "app/RawTerminal.h"
#include "app/RunnerPanel.h"
#include "core/Machine.h"
#include "core/TextLineReader.h"

namespace hexmoor {

namespace {

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
    // The loader has said what kept the program from loading whole; nothing runs then.
    if (loaded != TLoadResult::Loaded) return kExitFile;
    if (options.TraceFile && !m.OpenLogFile(*options.TraceFile)) return kExitFile;
    m.ResetMoor(ExternalReset);
    if (options.InputFile) panel.Input().OpenFile(*options.InputFile);
    if (options.BreakPoint) m.BreakPointAddress = *options.BreakPoint;

    const uint64_t maxInstructions = options.MaxInstructions.value_or(UINT64_MAX);
    const int64_t maxCycles = int64_t(std::min<uint64_t>(options.MaxCycles.value_or(INT64_MAX), INT64_MAX));
    const bool trace = options.TraceFile.has_value();
    m.Panel.RunningLed.Enabled = true;
    m.Panel.RunningLed.Lit = true;
    const auto start = std::chrono::steady_clock::now();
    // The run goes in slices of a few thousand passes (instructions, or idle passes of a
    // WAI): between them standard input is polled and output that has waited long enough
    // goes out. A slice ends early at a limit, at STOP and when the run state changes, so
    // the end conditions are met where a pass-by-pass run meets them. Traced, the run goes
    // pass by pass, each instruction logged.
    CatchEndSignals();
    // A person at a terminal types to the program directly, as on a serial line.
    TRawTerminal terminal;
    if (panel.Input().FromKeyboard() && terminal.Enter(STDIN_FILENO)) {
        std::fprintf(stderr, "hexmoor-run: keys go to the program as typed; Ctrl-] ends the run\n");
        panel.Input().BeInteractive();
    }
    if (isatty(STDOUT_FILENO) && !options.Screen) panel.UseAnsiOutput();
    bool waitsForever = false;
    constexpr uint32_t kPollInterval = 4096;
    uint32_t untilPoll = kPollInterval;
    const TRunLimits limits{maxInstructions, maxCycles};
    while (m.Panel.RunningLed.Lit && !m.StopExecuted && m.InstructionCount < maxInstructions &&
           m.CycleCount < maxCycles && !EndSignal()) {
        uint32_t passes = 1;
        if (trace) {
            m.RunPass();
            if (m.RunState != RunWaiting) m.DecodeInstruction();
        } else {
            passes = m.RunSlice(limits, untilPoll);
        }
        // A WAI that nothing the runner can do will end: no buttons, no input pins.
        if (m.RunState == RunWaiting && m.OnlyAClickCanWake()) {
            waitsForever = true;
            break;
        }
        untilPoll -= std::min(passes, untilPoll);
        if (untilPoll == 0) {
            panel.PollInput();
            panel.FlushOutputIfOld();
            untilPoll = kPollInterval;
        }
    }
    const int endSignal = EndSignal();
    panel.EndOutput();
    std::fflush(stdout);
    terminal.Restore();
    if (panel.Input().EndedByUser()) std::fprintf(stderr, "\nhexmoor-run: ended by Ctrl-]\n");
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
    if (!panel.Input().Failure().empty()) return kExitFile;
    return limited ? kExitLimit : kExitNormal;
}

}  // namespace hexmoor
