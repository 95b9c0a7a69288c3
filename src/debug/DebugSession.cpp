#include "debug/DebugSession.h"

#include <filesystem>

#include "core/Hex.h"
#include "debug/MachineScope.h"
#include "debug/SourceLines.h"
#include "debug/SymbolFiles.h"

namespace hexmoor {

namespace {

std::string Located(const std::string& message, std::size_t column) {
    return message + " (at column " + std::to_string(column) + ")";
}

}  // namespace

TDebugSession::TDebugSession(TMachine& machine, TSourceProgram::TReport report)
    : machine_(machine),
      debugger_(machine),
      source_(std::move(report)),
      lastStop_{machine.InstructionCount, machine.RegisterPC} {
    machine_.Assembler = &source_;
    debugger_.OnStop = [this](const TDebugStop& stop) {
        if (noting_) {
            noted_ = stop;
            return;
        }
        stop_ = stop;
        // A watchpoint names the instruction that made the access: its line is the one meant.
        if (const std::optional<TSourceLineRef> line =
                LineOf(stop.Kind == TDebugStop::Watchpoint ? stop.Instruction : stop.Address))
            stop_->Text += " " + std::filesystem::path(line->File).filename().string() + ":" + std::to_string(line->Line);
        stopNew_ = true;
        if (OnStop) OnStop(*stop_);
    };
}

TDebugSession::~TDebugSession() {
    timeline_.reset();
    machine_.Assembler = nullptr;
}

// --- Programs ------------------------------------------------------------------------------

TProgramNotes TDebugSession::TakeLoadedProgram(const std::optional<std::string>& symbolFile) {
    TProgramNotes notes;
    if (!chosen_) return notes;
    const std::string path = *std::exchange(chosen_, std::nullopt);
    const bool assembled = source_.Attempts() != seenAttempts_, loaded = source_.Loads() != seenLoads_;
    seenAttempts_ = source_.Attempts();
    seenLoads_ = source_.Loads();
    // A source with errors loaded nothing: the program before it stays, with its symbols.
    if (assembled && !loaded) return notes;
    if (timeline_) timeline_->Restart();
    stop_.reset();  // nothing more is said of where the program before it stopped

    auto now = std::make_shared<TLoadedProgram>();
    now->Path = path;
    if (assembled) {
        now->Assembly = std::make_shared<const TAssembly>(*source_.Loaded());
        now->Lines = LineTableOf(*now->Assembly);
    }
    if (assembled && !symbolFile) {
        debugger_.Symbols = SymbolTableOf(*now->Assembly);
    } else {
        // An ELF program's names and lines come from the bytes the loader kept: one read
        // through a pipe cannot be read again.
        TSymbolLoad symbols = symbolFile                  ? LoadSymbolFile(*symbolFile)
                              : !machine_.LoadedElf.empty() ? ReadProgramSymbols(machine_.LoadedElf, path)
                                                            : LoadSymbolsFor(path);
        notes.SymbolFileUnread = symbolFile && symbols.Source.empty();
        notes.Messages = std::move(symbols.Messages);
        debugger_.Symbols = std::move(symbols.Table);
        if (!assembled) now->Lines = std::move(symbols.Lines);
    }

    const bool again = lastProgram_ == path;
    lastProgram_ = path;
    const std::shared_ptr<const TLoadedProgram> before = std::exchange(program_, now);
    notes_.clear();
    if (!again) {
        debugger_.RemoveAll();
    } else {
        FollowLines(before->Lines);
        debugger_.SymbolsChanged();
    }
    watches_.Reparse(TMachineScope(machine_, debugger_.Symbols));
    return notes;
}

// The program's source was assembled again: each breakpoint set on a line goes to the code
// of the line of that number now (an edit above it does not carry it along, as in a
// debugger that keeps breakpoints by FILE:LINE), or stays unplaced while the line has none.
void TDebugSession::FollowLines(const TLineTable& before) {
    const TLineTable& now = program_->Lines;
    if (before.Empty() && now.Empty()) return;
    for (const TBreakpoint& breakpoint : std::vector(debugger_.Breakpoints())) {
        if (!breakpoint.Line) continue;
        const int file = FileNamed(now, breakpoint.Line->File);
        const TLineEntry* code = file < 0 ? nullptr : CodeOfLine(now, file, breakpoint.Line->Line);
        debugger_.PlaceBreakpoint(breakpoint.Id, code ? std::optional(code->Address) : std::nullopt);
    }
}

std::optional<TSourceLineRef> TDebugSession::LineOf(uint16_t address) const {
    const TLineEntry* line = LineAt(program_->Lines, address);
    if (!line) return std::nullopt;
    return TSourceLineRef{program_->Lines.Files[std::size_t(line->File)], line->Line};
}

// --- Addresses -------------------------------------------------------------------------------

std::optional<uint16_t> TDebugSession::ReadAddress(std::string_view text, std::string& error, std::string* note) {
    error.clear();
    if (const std::optional<const TLineEntry*> line = ReadSourcePosition(program_->Lines, text, error)) {
        if (!*line) return std::nullopt;
        return (*line)->Address;
    }
    const TMachineScope scope(machine_, debugger_.Symbols);
    TExpressionMessage message;
    std::vector<TExpressionMessage> warnings;
    const std::optional<TExpression> expression = TExpression::Parse(text, kAddressSyntax, scope, message, &warnings);
    if (!expression) {
        error = Located(message.Text, message.Column);
        return std::nullopt;
    }
    const int32_t value = expression->Evaluate(scope, &message);
    if (!message.Text.empty()) {
        error = Located(message.Text, message.Column);
        return std::nullopt;
    }
    if (value < 0 || value > 0xFFFF) {
        error = std::string(text) + " is $" + HexDigits(uint32_t(value), 8) + ", not an address ($0000 to $FFFF)";
        return std::nullopt;
    }
    for (const TExpressionMessage& warning : warnings)
        if (note && notes_.insert(warning.Text).second) *note = warning.Text;
    return uint16_t(value);
}

std::optional<std::pair<uint16_t, uint16_t>> TDebugSession::ReadRange(std::string_view text, std::string& error,
                                                                      std::string* note) {
    for (std::size_t dash = text.find('-', 1); dash != std::string_view::npos; dash = text.find('-', dash + 1)) {
        std::string ignored;
        const std::optional<uint16_t> first = ReadAddress(text.substr(0, dash), ignored, note);
        const std::optional<uint16_t> last = first ? ReadAddress(text.substr(dash + 1), ignored, note) : std::nullopt;
        if (!last) continue;
        if (*last >= *first) return std::pair{*first, *last};
        error = "the range " + std::string(text) + " ends before it starts";
        return std::nullopt;
    }
    const std::optional<uint16_t> address = ReadAddress(text, error, note);
    if (!address) return std::nullopt;
    return std::pair{*address, *address};
}

// --- Points ----------------------------------------------------------------------------------

std::string TDebugSession::AddBreakpoint(std::string_view where, std::string_view condition, uint64_t stopAtHit,
                                         std::string* note) {
    std::string error;
    const std::optional<uint16_t> address = ReadAddress(where, error, note);
    if (!address) return error;
    return debugger_.AddBreakpoint(*address, std::string(where), condition, stopAtHit, LineOf(*address));
}

std::string TDebugSession::AddWatchpoint(std::string_view where, TWatchAccess access, std::optional<uint8_t> value,
                                         std::string* note) {
    if (access == TWatchAccess::Change)
        return value ? "a change watchpoint stops at any change of its value, so it takes no value"
                     : debugger_.AddChangeWatchpoint(where);
    std::string error;
    const auto range = ReadRange(where, error, note);
    if (!range) return error;
    debugger_.AddWatchpoint(range->first, range->second, std::string(where), access, value);
    return "";
}

// --- The watch list ------------------------------------------------------------------------

void TDebugSession::AddWatch(std::string_view text) { watches_.Add(text, TMachineScope(machine_, debugger_.Symbols)); }

void TDebugSession::ReplaceWatch(std::size_t index, std::string_view text) {
    watches_.Replace(index, text, TMachineScope(machine_, debugger_.Symbols));
}

void TDebugSession::UpdateWatches() { watches_.Update(TMachineScope(machine_, debugger_.Symbols), Stopped()); }

void TDebugSession::ToggleBreakpointAt(uint16_t address) { debugger_.ToggleBreakpointAt(address, LineOf(address)); }

// --- Runs ------------------------------------------------------------------------------------

std::string TDebugSession::ArmStepOut() {
    const TCallStack& calls = machine_.CallStack;
    if (calls.Depth() == 0 && calls.Lost == 0) return "Step Out: no caller to return to (the call stack is empty)";
    debugger_.ArmStepOut();
    return "";
}

// --- Stops -----------------------------------------------------------------------------------

bool TDebugSession::Stopped() const { return !machine_.Panel.RunningLed.Lit && !machine_.Panel.StepLed.Lit; }

void TDebugSession::TakeStop() {
    if (!Stopped()) return;
    const std::pair<uint64_t, uint16_t> here{machine_.InstructionCount, machine_.RegisterPC};
    if (here != lastStop_) {
        lastStop_ = here;
        ++stopCount_;
        if (!stopNew_) stop_.reset();  // this stop is not the debugger's
        watches_.TakeStop(TMachineScope(machine_, debugger_.Symbols));
    }
    stopNew_ = false;
}

}  // namespace hexmoor
