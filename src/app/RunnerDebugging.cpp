#include "app/RunnerDebugging.h"

#include <cstdio>

#include "core/Hex.h"
#include "debug/Peek.h"

namespace hexmoor {

namespace {

constexpr int kDumpRow = 16;

void Say(const std::string& text) { std::fprintf(stderr, "hexmoor-run: %s\n", text.c_str()); }

}  // namespace

TRunnerDebugging::TRunnerDebugging(const TRunnerOptions& options, TMachine& machine, TDebugSession& session)
    : options_(options), machine_(machine), session_(session) {
    session_.OnStop = [](const TDebugStop& stop) { Say(stop.Text); };
}

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
        error = session_.AddBreakpoint(text, {}, 1, &note);
        sayNote();
        if (!error.empty()) return refused("--break", text);
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

std::string TRunnerDebugging::Dumps() const {
    std::string text;
    for (const auto& [first, last] : dumps_) {
        for (uint32_t row = first; row <= last; row += kDumpRow) {
            text += Hex4(uint16_t(row)) + ":";
            for (uint32_t address = row; address <= last && address < row + kDumpRow; ++address)
                text += " " + Hex2(PeekByte(machine_, uint16_t(address)));
            text += "\n";
        }
    }
    return text;
}

}  // namespace hexmoor
