// hexmoor-run: runs a program without a window, the terminal on standard input and output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hexmoor {

// When the lines of input are typed: when the program reads an empty buffer and has
// printed nothing for 10 ms of chip time; all at once; or at every read of an empty buffer.
enum class TInputPacing { Paced, TypeAhead, LinePerRead };

// --stats: lines for a person, or one JSON object for a script.
enum class TStatsForm { None, Text, Json };

struct TRunnerOptions {
    std::string Program;
    std::optional<uint64_t> MaxCycles;
    std::optional<uint64_t> MaxInstructions;
    // How long a program polls the status port in a loop, writing nothing, once no more
    // input can come, before the run ends: E cycles (one second of chip time).
    uint64_t IdleCycles = 2000000;
    // Addresses as typed: hexadecimal ($ or 0x optional), else a symbol or an expression.
    std::vector<std::string> BreakPoints;  // ADDR, or ADDR,print: print and go on at each hit
    std::vector<std::string> Watches;  // ADDR[-END][:r|w|rw]
    std::vector<std::string> WatchChanges;  // expressions: stop when one's value changes
    std::vector<std::string> Dumps;    // ADDR[-END]
    std::optional<std::string> SymbolFile;
    std::optional<std::string> TraceFile;
    std::optional<std::string> InputFile;
    std::optional<std::string> PrinterFile;
    // The machine's whole state: written when the run ends, and read to start from.
    std::optional<std::string> SaveState;
    std::optional<std::string> LoadState;
    TInputPacing Pacing = TInputPacing::Paced;
    bool Bootstrap = false;  // the mode pins: special bootstrap instead of expanded
    bool Screen = false;
    bool Registers = false;
    bool Warnings = false;
    bool Interrupts = false;
    bool RegistersIo = false;
    TStatsForm Stats = TStatsForm::None;
    bool Backtrace = false;  // the call stack on standard error at the end of the run
};

// What the command line asks for: options to run with, or text to print and an exit code.
struct TParsedArguments {
    std::optional<TRunnerOptions> Options;
    std::string Output;  // --help, --version
    std::string Error;   // bad usage
};

TParsedArguments ParseRunnerArguments(const std::vector<std::string>& arguments);

// Exit statuses. A signal that ends the run gives 128 + its number (130 for SIGINT).
constexpr int kExitNormal = 0;     // STOP, a WAI nothing can wake, no more input, a breakpoint
constexpr int kExitFile = 1;       // a file that cannot be read or written
constexpr int kExitArguments = 2;  // bad arguments, addresses that do not read
constexpr int kExitLimit = 3;      // --max-cycles or --max-instructions cut the run

// Runs the program; returns the exit status.
int RunHeadless(const TRunnerOptions& options);

}  // namespace hexmoor
