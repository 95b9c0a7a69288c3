#include "debug/Debugger.h"

#include <algorithm>
#include <utility>

#include "core/Decoder.h"
#include "core/Hex.h"
#include "debug/MachineScope.h"

namespace hexmoor {

namespace {

std::string Located(const std::string& message, std::size_t column) {
    return message + " (at column " + std::to_string(column) + ")";
}

constexpr uint8_t kChangeRead = uint8_t(TWatchAccess::Change);

bool Covers(const TWatchpoint& w, uint16_t address, bool write) {
    const TWatchAccess access = write ? TWatchAccess::Write : TWatchAccess::Read;
    return w.Enabled && address >= w.First && address <= w.Last && (uint8_t(w.Access) & uint8_t(access));
}

}  // namespace

TDebugger::TDebugger(TMachine& machine) : machine_(machine) { machine_.Debugger = this; }

TDebugger::~TDebugger() {
    RemoveAll();
    SetRunTo(std::nullopt);
    machine_.FollowPasses = false;
    machine_.Debugger = nullptr;
}

std::string TDebugger::Describe(uint16_t address) const {
    std::string text = "$" + Hex4(address);
    const std::vector<std::string>& names = Symbols.NamesAt(address);
    if (!names.empty()) text += " (" + names.front() + ")";
    return text;
}

std::string TDebugger::DescribeNear(uint16_t address) const {
    const std::optional<TSymbol> base = Symbols.Nearest(address);
    if (!base) return "$" + Hex4(address);
    const uint16_t offset = uint16_t(address - base->Address);
    return "$" + Hex4(address) + " (" + base->Name + (offset ? "+" + std::to_string(offset) : "") + ")";
}

TBreakpoint* TDebugger::Breakpoint(TPointId id) {
    for (TBreakpoint& b : breakpoints_)
        if (b.Id == id) return &b;
    return nullptr;
}

const TBreakpoint* TDebugger::FindBreakpoint(TPointId id) const {
    return const_cast<TDebugger*>(this)->Breakpoint(id);
}

TWatchpoint* TDebugger::Watchpoint(TPointId id) {
    for (TWatchpoint& w : watchpoints_)
        if (w.Id == id) return &w;
    return nullptr;
}

std::string TDebugger::AddBreakpoint(uint16_t address, std::string where, std::string_view condition,
                                     uint64_t stopAtHit, std::optional<TSourceLineRef> line) {
    TBreakpoint& added = breakpoints_.emplace_back();
    added.Id = nextId_;
    added.Address = address;
    added.Where = std::move(where);
    added.Line = std::move(line);
    const std::string error = ApplyCondition(added, condition, stopAtHit);
    if (!error.empty()) {
        breakpoints_.pop_back();
        return error;
    }
    ++nextId_;
    breakpointsAt_[address].push_back(breakpoints_.size() - 1);
    UpdateStopMark(address);
    return "";
}

std::string TDebugger::SetCondition(TPointId id, std::string_view condition, uint64_t stopAtHit) {
    TBreakpoint* breakpoint = Breakpoint(id);
    return breakpoint ? ApplyCondition(*breakpoint, condition, stopAtHit) : "no such breakpoint";
}

std::string TDebugger::ApplyCondition(TBreakpoint& breakpoint, std::string_view condition, uint64_t stopAtHit) {
    std::optional<TExpression> parsed;
    if (condition.find_first_not_of(' ') != std::string_view::npos) {
        TExpressionMessage message;
        parsed = TExpression::Parse(condition, kConditionSyntax, TMachineScope(machine_, Symbols), message);
        if (!parsed) return Located(message.Text, message.Column);
    }
    breakpoint.Condition = std::move(parsed);
    breakpoint.ConditionText = breakpoint.Condition ? std::string(condition) : "";
    breakpoint.StopAtHit = std::max<uint64_t>(stopAtHit, 1);
    return "";
}

void TDebugger::SetStops(TPointId id, bool stops) {
    if (TBreakpoint* breakpoint = Breakpoint(id)) breakpoint->Stops = stops;
}

void TDebugger::AddWatchpoint(uint16_t first, uint16_t last, std::string where, TWatchAccess access,
                              std::optional<uint8_t> value) {
    watchpoints_.push_back({nextId_++, first, last, std::move(where), access, value});
    for (uint32_t address = first; address <= last; ++address) watchedBytes_[address] |= uint8_t(access);
    for (int page = first >> 8; page <= last >> 8; ++page) {
        accessPages_[page] = true;
        machine_.WatchPage(uint8_t(page), true);
    }
}

std::string TDebugger::AddChangeWatchpoint(std::string_view expression) {
    const std::size_t first = expression.find_first_not_of(' ');
    expression = first == std::string_view::npos
                     ? ""
                     : expression.substr(first, expression.find_last_not_of(' ') - first + 1);
    if (std::string error = changes_.Add(nextId_, expression); !error.empty()) return error;
    watchpoints_.push_back({nextId_++, 0, 0, std::string(expression), TWatchAccess::Change, std::nullopt});
    AfterChangeWatches();
    return "";
}

void TDebugger::EnableBreakpoint(TPointId id, bool enabled) {
    if (TBreakpoint* b = Breakpoint(id); b && b->Enabled != enabled) {
        b->Enabled = enabled;
        IndexBreakpoints();
    }
}

void TDebugger::EnableWatchpoint(TPointId id, bool enabled) {
    if (TWatchpoint* w = Watchpoint(id)) {
        w->Enabled = enabled;
        changes_.Enable(id, enabled);
        AfterChangeWatches();
        UpdateWatchedBytes();
    }
}

void TDebugger::RemoveBreakpoint(TPointId id) {
    std::erase_if(breakpoints_, [id](const TBreakpoint& b) { return b.Id == id; });
    IndexBreakpoints();
}

void TDebugger::RemoveWatchpoint(TPointId id) {
    std::erase_if(watchpoints_, [id](const TWatchpoint& w) { return w.Id == id; });
    changes_.Remove(id);
    AfterChangeWatches();
    UpdateWatchedBytes();
}

void TDebugger::RemoveAll() {
    breakpoints_.clear();
    watchpoints_.clear();
    changes_.Clear();
    AfterChangeWatches();
    IndexBreakpoints();
    UpdateWatchedBytes();
}

void TDebugger::ToggleBreakpointAt(uint16_t address, std::optional<TSourceLineRef> line) {
    const auto removed = std::erase_if(breakpoints_, [address](const TBreakpoint& b) { return b.Address == address; });
    if (removed != 0) return IndexBreakpoints();
    AddBreakpoint(address, "$" + Hex4(address), {}, 1, std::move(line));
}

void TDebugger::PlaceBreakpoint(TPointId id, std::optional<uint16_t> address) {
    TBreakpoint* breakpoint = Breakpoint(id);
    if (!breakpoint) return;
    breakpoint->Placed = address.has_value();
    if (address && *address != breakpoint->Address) {
        // A text naming the old address would read as another place now.
        if (breakpoint->Where.starts_with("$")) breakpoint->Where = "$" + Hex4(*address);
        breakpoint->Address = *address;
    }
    IndexBreakpoints();
}

// The machine tests one byte an address and one flag a page: it asks only where something
// enabled is.
void TDebugger::UpdateStopMark(uint16_t address) {
    const bool marked = breakpointsAt_.contains(address) || runTo_ == address;
    machine_.StopMarks.Set(address, kDebuggerStop, marked);
}

void TDebugger::IndexBreakpoints() {
    std::vector<uint16_t> marked;
    for (const auto& [address, at] : breakpointsAt_) marked.push_back(address);
    breakpointsAt_.clear();
    for (std::size_t i = 0; i < breakpoints_.size(); ++i) {
        const TBreakpoint& b = breakpoints_[i];
        if (b.Enabled && b.Placed) breakpointsAt_[b.Address].push_back(i);
    }
    for (uint16_t address : marked) UpdateStopMark(address);
    for (const auto& [address, at] : breakpointsAt_) UpdateStopMark(address);
}

void TDebugger::UpdateWatchedBytes() {
    watchedBytes_.fill(0);
    accessPages_.fill(false);
    for (const TWatchpoint& w : watchpoints_) {
        if (!w.Enabled || w.Access == TWatchAccess::Change) continue;
        for (uint32_t address = w.First; address <= w.Last; ++address) watchedBytes_[address] |= uint8_t(w.Access);
        for (int page = w.First >> 8; page <= w.Last >> 8; ++page) accessPages_[page] = true;
    }
    for (uint16_t address : changeMarked_) watchedBytes_[address] |= kChangeRead;
    WatchPages();
}

void TDebugger::MarkChangeBytes() {
    for (uint16_t address : changeMarked_) watchedBytes_[address] &= uint8_t(~kChangeRead);
    changeMarked_ = changes_.Bytes();
    for (uint16_t address : changeMarked_) watchedBytes_[address] |= kChangeRead;
    WatchPages();
}

void TDebugger::WatchPages() {
    std::array<bool, 256> watched = accessPages_;
    for (uint16_t address : changeMarked_) watched[address >> 8] = true;
    for (int page = 0; page < 256; ++page) machine_.WatchPage(uint8_t(page), watched[page]);
}

void TDebugger::AfterChangeWatches() {
    if (changes_.TakeBytesChanged()) MarkChangeBytes();
    UpdateFollowing();
}

// Passes are followed while a Step Over or Step Out runs, while a change watchpoint names a
// register or reads the register block, and after a write to a byte one read.
void TDebugger::UpdateFollowing() {
    machine_.FollowPasses = follow_ != TFollow::None || changes_.Follows() || changes_.Pending();
    const bool spans = follow_ == TFollow::None && !changes_.EveryPass();
    machine_.FollowedMask = spans ? changes_.RegisterMask() : TRegisterWords{};
    machine_.FollowedSeen = machine_.RegisterWords();
}

void TDebugger::SymbolsChanged() {
    changes_.Reparse();
    AfterChangeWatches();
}

void TDebugger::SetRunTo(std::optional<uint16_t> address) {
    const std::optional<uint16_t> before = std::exchange(runTo_, address);
    if (before) UpdateStopMark(*before);
    if (address) UpdateStopMark(*address);
}

void TDebugger::Stop(TDebugStop stop) {
    lastStop_ = std::move(stop);
    SetRunTo(std::nullopt);
    follow_ = TFollow::None;
    UpdateFollowing();
    if (OnStop) OnStop(*lastStop_);
}

bool TDebugger::StopBefore(TMachine& m) {
    const uint16_t pc = m.RegisterPC;
    // A single step executes what is there; so does a run from the stop it just made here.
    if (!m.Panel.RunningLed.Lit) return false;
    if (resumeFrom_ == std::pair{m.InstructionCount, pc}) return false;
    if (runTo_ == pc) {
        resumeFrom_ = {m.InstructionCount, pc};
        Stop({.Kind = TDebugStop::RunTo, .Address = pc, .Text = "ran to " + Describe(pc)});
        return true;
    }
    const auto at = breakpointsAt_.find(pc);
    if (at == breakpointsAt_.end()) return false;
    const TMachineScope scope(m, Symbols);
    for (std::size_t i : at->second) {
        TBreakpoint& b = breakpoints_[i];
        std::string why;
        if (b.Condition) {
            // A condition that cannot be evaluated stops the run and says why, as a debugger
            // must not decide for the user that it was false.
            TExpressionMessage message;
            const int32_t value = b.Condition->Evaluate(scope, &message);
            if (!message.Text.empty())
                why = ": the condition " + b.ConditionText + " cannot be evaluated: " + Located(message.Text, message.Column);
            else if (value == 0)
                continue;
        }
        if (why.empty() && ++b.Hits < b.StopAtHit) continue;
        if (why.empty() && !b.Stops) {
            if (OnHitGoingOn) OnHitGoingOn(b);
            continue;
        }
        resumeFrom_ = {m.InstructionCount, pc};
        Stop({.Kind = TDebugStop::Breakpoint, .Id = b.Id, .Address = pc, .Text = "breakpoint at " + Describe(pc) + why});
        return true;
    }
    return false;
}

// The access is done; the run ends after the instruction that made it.
void TDebugger::Accessed(TMachine& m, uint16_t address, uint8_t before, uint8_t value, bool write) {
    if (write && before != value && (watchedBytes_[address] & kChangeRead)) {
        changes_.Written(address);
        m.FollowFromInstruction();
    }
    const TWatchAccess access = write ? TWatchAccess::Write : TWatchAccess::Read;
    if (!(watchedBytes_[address] & uint8_t(access))) return;
    for (TWatchpoint& w : watchpoints_) {
        if (!Covers(w, address, write) || (write && w.Value && *w.Value != value)) continue;
        ++w.Hits;
        const std::string change = write ? " written: $" + Hex2(before) + " -> $" + Hex2(value) : " read: $" + Hex2(value);
        Stop({.Kind = TDebugStop::Watchpoint, .Id = w.Id, .Address = address, .Instruction = m.RegisterPC,
              .Before = before, .After = value, .Write = write,
              .Text = "watchpoint: " + Describe(address) + change + " by the instruction at " + Describe(m.RegisterPC)});
        m.StopAfterInstruction();
        return;
    }
}

bool TDebugger::ArmStepOver() {
    const TDecodedInstruction d = DecodeAt(machine_.RegisterPC, InstructionBytesAt(machine_.MemoryImage, machine_.RegisterPC));
    const TOperation op = d.Opcode->Operation;
    if (!d.Legal || (op != TOperation::Jsr && op != TOperation::Bsr && op != TOperation::Swi)) return false;
    follow_ = TFollow::StepOver;
    followSp_ = machine_.RegisterSP;
    followTransfers_ = machine_.Transfers.Count;
    UpdateFollowing();
    resumeFrom_ = {machine_.InstructionCount, machine_.RegisterPC};
    return true;
}

void TDebugger::ArmStepOut() {
    const TCallStack& calls = machine_.CallStack;
    follow_ = TFollow::StepOut;
    followSp_ = calls.Depth() != 0 ? calls.Back(0).Sp : machine_.RegisterSP;
    followTransfers_ = machine_.Transfers.Count;
    UpdateFollowing();
    resumeFrom_ = {machine_.InstructionCount, machine_.RegisterPC};
}

void TDebugger::ArmRunTo(uint16_t address) {
    SetRunTo(address);
    resumeFrom_ = {machine_.InstructionCount, machine_.RegisterPC};
}

namespace {

// The instruction at `address` leaves a routine: RTS, RTI or JMP (a routine that pulled its
// return address to skip inline data jumps back).
bool LeavesRoutine(const TMachine& m, uint16_t address) {
    const TDecodedInstruction d = DecodeAt(address, InstructionBytesAt(m.MemoryImage, address));
    const TOperation op = d.Opcode->Operation;
    return d.Legal && (op == TOperation::Rts || op == TOperation::Rti || op == TOperation::Jmp);
}

}  // namespace

// Step Over ends at the first RTS, RTI or JMP that leaves SP where it was before the call;
// Step Out at the first that takes SP above where the routine's entry left it (a routine
// that pulled its return address to skip inline data jumps back with SP above it).
bool TDebugger::StopAfterPass(TMachine& m) {
    if ((changes_.Follows() || changes_.Pending()) && StopAtChange(m)) return true;
    if (follow_ == TFollow::None || m.Transfers.Count == followTransfers_) return false;
    followTransfers_ = m.Transfers.Count;
    const TTransfer last = m.Transfers.Back(0);
    if (last.Kind != TTransfer::Instruction || !LeavesRoutine(m, last.From)) return false;
    const bool over = follow_ == TFollow::StepOver;
    if (over ? m.RegisterSP < followSp_ : m.RegisterSP <= followSp_) return false;
    Stop({.Kind = over ? TDebugStop::StepOver : TDebugStop::StepOut, .Address = m.RegisterPC,
          .Text = std::string(over ? "stepped over to " : "stepped out to ") + Describe(m.RegisterPC)});
    return true;
}

bool TDebugger::StopAtChange(TMachine& m) {
    const std::optional<TChangeWatches::TChange> change = changes_.Check();
    AfterChangeWatches();
    TWatchpoint* w = change ? Watchpoint(change->Id) : nullptr;
    if (!w) return false;
    ++w->Hits;
    Stop({.Kind = TDebugStop::Change, .Id = w->Id, .Address = m.RegisterPC,
          .Text = w->Where + " changed: " + HexText(change->Before) + " -> " + HexText(change->After) + " at " +
                  Describe(m.RegisterPC)});
    return true;
}

void TDebugger::RunStarts(TMachine&) {
    changes_.Baseline();
    AfterChangeWatches();
}

void TDebugger::Traced(const TMachine& m, uint16_t address) {
    traced_.Record({m.InstructionCount, address,
                    {m.RegisterA, m.RegisterB, m.RegisterX, m.RegisterY, m.RegisterSP, m.PackedCcr()}});
}

}  // namespace hexmoor
