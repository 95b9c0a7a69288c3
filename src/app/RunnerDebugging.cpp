#include "app/RunnerDebugging.h"

#include <cstdio>

#include "core/Hex.h"
#include "core/TraceText.h"
#include "debug/Peek.h"

namespace hexmoor {

namespace {

constexpr int kDumpRow = 16;
constexpr std::string_view kPrintSuffix = ",print";

void Say(const std::string& text) { std::fprintf(stderr, "hexmoor-run: %s\n", text.c_str()); }

}  // namespace

TRunnerDebugging::TRunnerDebugging(const TRunnerOptions& options, TMachine& machine, TDebugSession& session)
    : options_(options), machine_(machine), session_(session), traceNames_(session.Debugger().Symbols) {
    session_.OnStop = [](const TDebugStop& stop) { Say(stop.Text); };
    machine_.TraceNames = &traceNames_;
    session_.Debugger().OnHitGoingOn = [this](const TBreakpoint& breakpoint) { PrintHit(breakpoint); };
}

TRunnerDebugging::~TRunnerDebugging() { machine_.TraceNames = nullptr; }

std::optional<int> TRunnerDebugging::Prepare() {
    const TProgramNotes notes = session_.TakeLoadedProgram(options_.SymbolFile);
    for (const std::string& message : notes.Messages) Say(message);
    if (notes.SymbolFileUnread) return kExitFile;

    std::string error, note;
    auto refused = [&](const char* option, const std::string& text) {
        Say(std::string(option) + " " + text + ": " + error);
        return kExitArguments;
    };
    auto sayNote = [&] {
        if (!note.empty()) Say("note: " + std::exchange(note, ""));
    };
    for (const std::string& text : options_.BreakPoints) {
        const bool prints = text.ends_with(kPrintSuffix);
        error = session_.AddBreakpoint(std::string_view(text).substr(0, text.size() - (prints ? kPrintSuffix.size() : 0)),
                                       {}, 1, &note);
        sayNote();
        if (!error.empty()) return refused("--break", text);
        if (prints) session_.Debugger().SetStops(session_.Debugger().Breakpoints().back().Id, false);
    }
    for (const std::string& text : options_.Watches) {
        // ADDR[-END][:ACCESS]; a FILE:LINE's colon is followed by digits, an access by r or w.
        std::size_t colon = text.rfind(':');
        std::string_view kind = colon == std::string::npos ? "" : std::string_view(text).substr(colon + 1);
        if (!kind.empty() && kind.find_first_not_of("0123456789") == std::string_view::npos) colon = std::string::npos;
        if (colon == std::string::npos) kind = "w";
        error = "the access is r, w or rw";
        if (kind != "r" && kind != "w" && kind != "rw") return refused("--watch", text);
        const TWatchAccess access = kind == "r" ? TWatchAccess::Read : kind == "rw" ? TWatchAccess::ReadWrite
                                                                                     : TWatchAccess::Write;
        error = session_.AddWatchpoint(std::string_view(text).substr(0, colon), access, {}, &note);
        sayNote();
        if (!error.empty()) return refused("--watch", text);
    }
    for (const std::string& text : options_.WatchChanges) {
        error = session_.AddWatchpoint(text, TWatchAccess::Change);
        if (!error.empty()) return refused("--watch-change", text);
    }
    for (const std::string& text : options_.Dumps) {
        auto range = session_.ReadRange(text, error, &note);
        sayNote();
        if (!range) return refused("--dump", text);
        if (range->first == range->second) range->second = uint16_t(std::min(range->first + kDumpRow - 1, 0xFFFF));
        dumps_.push_back(*range);
    }
    return std::nullopt;
}

// As hexdump -C shows bytes: printable ASCII as itself, every other byte as a dot, between
// bars; a short last row keeps the characters' column.
std::string TRunnerDebugging::Dumps() const {
    std::string text;
    for (const auto& [first, last] : dumps_) {
        for (uint32_t row = first; row <= last; row += kDumpRow) {
            std::string characters;
            text += Hex4(uint16_t(row)) + ":";
            for (uint32_t address = row; address < row + kDumpRow; ++address) {
                if (address > last) {
                    text += "   ";
                    continue;
                }
                const uint8_t byte = PeekByte(machine_, uint16_t(address));
                text += " " + Hex2(byte);
                characters += byte >= 0x20 && byte < 0x7F ? char(byte) : '.';
            }
            text += "  |" + characters + "|\n";
        }
    }
    return text;
}

void TRunnerDebugging::PrintCallStack() const {
    std::fputs(("hexmoor-run: call stack:\n" + CallStackLines()).c_str(), stderr);
}

void TRunnerDebugging::PrintHit(const TBreakpoint& breakpoint) {
    machine_.TraceText = BuildTraceText(machine_);
    const std::string record = "hexmoor-run: breakpoint at " + session_.Debugger().Describe(breakpoint.Address) +
                               ", hit " + std::to_string(breakpoint.Hits) + ":\n" + machine_.TraceLine() +
                               CallStackLines();
    std::fputs(record.c_str(), stderr);
}

std::string TRunnerDebugging::CallStackLines() const {
    std::string text;
    for (const std::string& line : StackLines(session_.CallStack())) text += "  " + line + "\n";
    return text;
}

}  // namespace hexmoor
