// hexmoor-run: runs a program without a window, the terminal on standard input and output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hexmoor {

struct TRunnerOptions {
    std::string Program;
    std::optional<uint64_t> MaxCycles;
    std::optional<uint64_t> MaxInstructions;
    std::optional<int32_t> BreakPoint;
    std::optional<std::string> TraceFile;
    std::optional<std::string> InputFile;
    std::optional<std::string> PrinterFile;
    bool Screen = false;
    bool Registers = false;
    bool Warnings = false;
    bool Interrupts = false;
    bool RegistersIo = false;
    bool Stats = false;
};

// What the command line asks for: options to run with, or text to print and an exit code.
struct TParsedArguments {
    std::optional<TRunnerOptions> Options;
    std::string Output;  // --help, --version
    std::string Error;   // bad usage
};

TParsedArguments ParseRunnerArguments(const std::vector<std::string>& arguments);

// Runs the program; returns the exit status (0 normal end, 1 unreadable program file).
int RunHeadless(const TRunnerOptions& options);

}  // namespace hexmoor
