#include "debug/Debugger.h"

#include <algorithm>
#include <cctype>

#include "core/Decoder.h"
#include "core/Hex.h"
#include "debug/Peek.h"

namespace hexmoor {

namespace {

// Addresses: numbers and symbols, no registers or memory.
constexpr TExpressionSyntax kAddressSyntax{.BareHex = true, .Blanks = true};

// What a condition or an address sees: the registers as they are, memory through peeks, the
// program's symbols.
class TMachineScope : public TExpressionScope {
public:
    TMachineScope(const TMachine& machine, const TSymbolTable& symbols) : m_(machine), symbols_(symbols) {}
    std::optional<int32_t> Symbol(std::string_view name) const override {
        if (std::optional<uint16_t> address = symbols_.Find(name)) return *address;
        return std::nullopt;
    }
    int32_t Register(TRegisterName name) const override {
        switch (name) {
        case TRegisterName::A: return m_.RegisterA;
        case TRegisterName::B: return m_.RegisterB;
        case TRegisterName::D: return m_.RegisterD;
        case TRegisterName::X: return m_.RegisterX;
        case TRegisterName::Y: return m_.RegisterY;
        case TRegisterName::SP: return m_.RegisterSP;
        case TRegisterName::PC: return m_.RegisterPC;
        case TRegisterName::CCR: return m_.PackedCcr();
        }
        return 0;
    }
    uint8_t Memory(uint16_t address) const override { return PeekByte(m_, address); }

private:
    const TMachine& m_;
    const TSymbolTable& symbols_;
};

std::string Located(const std::string& message, std::size_t column) {
    return message + " (at column " + std::to_string(column) + ")";
}

bool Covers(const TWatchpoint& w, uint16_t address, bool write) {
    const TWatchAccess access = write ? TWatchAccess::Write : TWatchAccess::Read;
    return w.Enabled && address >= w.First && address <= w.Last && (uint8_t(w.Access) & uint8_t(access));
}

}  // namespace

TDebugger::TDebugger(TMachine& machine) : machine_(machine) { machine_.Debugger = this; }

TDebugger::~TDebugger() {
    breakpoints_.clear();
    watchpoints_.clear();
    runTo_.reset();
    Remark();
    machine_.FollowPasses = false;
    machine_.Debugger = nullptr;
}

std::optional<uint16_t> TDebugger::ParseHexFirst(std::string_view text, std::string& error) const {
    std::string_view digits = text;
    if (digits.starts_with("$")) digits.remove_prefix(1);
    else if (digits.starts_with("0x") || digits.starts_with("0X")) digits.remove_prefix(2);
    const bool hex = !digits.empty() && digits.size() <= 4 &&
                     std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(uint8_t(c)); });
    if (hex) return uint16_t(std::stoul(std::string(digits), nullptr, 16));
    return ParseAddress(text, error);
}

std::optional<uint16_t> TDebugger::ParseAddress(std::string_view text, std::string& error) const {
    const TMachineScope scope(machine_, Symbols);
    TExpressionMessage message;
    const std::optional<TExpression> expression = TExpression::Parse(text, kAddressSyntax, scope, message);
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
        error = "$" + HexDigits(uint32_t(value), 8) + " is not an address ($0000 to $FFFF)";
        return std::nullopt;
    }
    error.clear();
    return uint16_t(value);
}

std::string TDebugger::Describe(uint16_t address) const {
    std::string text = "$" + Hex4(address);
    const std::vector<std::string>& names = Symbols.NamesAt(address);
    if (!names.empty()) text += " (" + names.front() + ")";
    return text;
}

std::string TDebugger::AddBreakpoint(std::string_view where, std::string_view condition, uint64_t stopAtHit) {
    std::string error;
    const std::optional<uint16_t> address = ParseAddress(where, error);
    if (!address) return error;
    TBreakpoint& added = breakpoints_.emplace_back();
    added.Address = *address;
    added.Where = where;
    error = SetCondition(breakpoints_.size() - 1, condition, stopAtHit);
    if (!error.empty()) breakpoints_.pop_back();
    Remark();
    return error;
}

std::string TDebugger::SetCondition(std::size_t index, std::string_view condition, uint64_t stopAtHit) {
    TBreakpoint& breakpoint = breakpoints_.at(index);
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

std::optional<std::pair<uint16_t, uint16_t>> ReadRange(std::string_view text, std::string& error,
                                                       const TAddressReader& read) {
    // "ADDR-END": the first minus that splits the text into two addresses; else one address.
    for (std::size_t dash = text.find('-', 1); dash != std::string_view::npos; dash = text.find('-', dash + 1)) {
        std::string ignored;
        const std::optional<uint16_t> first = read(text.substr(0, dash), ignored);
        const std::optional<uint16_t> last = first ? read(text.substr(dash + 1), ignored) : std::nullopt;
        if (!last) continue;
        if (*last >= *first) return std::pair{*first, *last};
        error = "the range " + std::string(text) + " ends before it starts";
        return std::nullopt;
    }
    const std::optional<uint16_t> address = read(text, error);
    if (!address) return std::nullopt;
    return std::pair{*address, *address};
}

std::optional<std::pair<uint16_t, uint16_t>> TDebugger::ParseRange(std::string_view text, std::string& error) const {
    return ReadRange(text, error, [this](std::string_view part, std::string& why) { return ParseAddress(part, why); });
}

std::string TDebugger::AddWatchpoint(std::string_view where, TWatchAccess access, std::optional<uint8_t> value) {
    std::string error;
    const auto range = ParseRange(where, error);
    if (!range) return error;
    watchpoints_.push_back({range->first, range->second, std::string(where), access, value});
    Remark();
    return "";
}

void TDebugger::Enable(bool watchpoint, std::size_t index, bool enabled) {
    if (watchpoint)
        watchpoints_.at(index).Enabled = enabled;
    else
        breakpoints_.at(index).Enabled = enabled;
    Remark();
}

void TDebugger::Remove(bool watchpoint, std::size_t index) {
    if (watchpoint)
        watchpoints_.erase(watchpoints_.begin() + std::ptrdiff_t(index));
    else
        breakpoints_.erase(breakpoints_.begin() + std::ptrdiff_t(index));
    Remark();
}

void TDebugger::ToggleBreakpointAt(uint16_t address) {
    const auto removed = std::erase_if(breakpoints_, [address](const TBreakpoint& b) { return b.Address == address; });
    if (removed == 0) {
        TBreakpoint& added = breakpoints_.emplace_back();
        added.Address = address;
        added.Where = "$" + Hex4(address);
    }
    Remark();
}

void TDebugger::MoveBreakpoint(std::size_t index, uint16_t address) {
    TBreakpoint& breakpoint = breakpoints_.at(index);
    std::string error;
    if (ParseAddress(breakpoint.Where, error) != address) breakpoint.Where = "$" + Hex4(address);
    breakpoint.Address = address;
    Remark();
}

// The machine tests one byte an address and one flag a page: it asks only where something
// enabled is.
void TDebugger::Remark() {
    for (uint8_t& mark : machine_.StopMarks) mark &= uint8_t(~kDebuggerStop);
    for (const TBreakpoint& b : breakpoints_)
        if (b.Enabled) machine_.StopMarks[b.Address] |= kDebuggerStop;
    if (runTo_) machine_.StopMarks[*runTo_] |= kDebuggerStop;
    std::array<bool, 256> watched{};
    for (const TWatchpoint& w : watchpoints_)
        if (w.Enabled)
            for (int page = w.First >> 8; page <= w.Last >> 8; ++page) watched[page] = true;
    for (int page = 0; page < 256; ++page) machine_.WatchPage(uint8_t(page), watched[page]);
}

void TDebugger::Stop(TDebugStop stop) {
    lastStop_ = stop;
    runTo_.reset();
    follow_ = TFollow::None;
    machine_.FollowPasses = false;
    Remark();
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
    const TMachineScope scope(m, Symbols);
    for (std::size_t i = 0; i < breakpoints_.size(); ++i) {
        TBreakpoint& b = breakpoints_[i];
        if (!b.Enabled || b.Address != pc) continue;
        if (b.Condition && b.Condition->Evaluate(scope) == 0) continue;
        if (++b.Hits < b.StopAtHit) continue;
        resumeFrom_ = {m.InstructionCount, pc};
        Stop({.Kind = TDebugStop::Breakpoint, .Index = i, .Address = pc, .Text = "breakpoint at " + Describe(pc)});
        return true;
    }
    return false;
}

// The access is done; the run ends after the instruction that made it.
void TDebugger::Accessed(TMachine& m, uint16_t address, uint8_t before, uint8_t value, bool write) {
    for (std::size_t i = 0; i < watchpoints_.size(); ++i) {
        TWatchpoint& w = watchpoints_[i];
        if (!Covers(w, address, write) || (write && w.Value && *w.Value != value)) continue;
        ++w.Hits;
        const std::string change = write ? " written: $" + Hex2(before) + " -> $" + Hex2(value) : " read: $" + Hex2(value);
        Stop({.Kind = TDebugStop::Watchpoint, .Index = i, .Address = address, .Instruction = m.RegisterPC,
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
    machine_.FollowPasses = true;
    resumeFrom_ = {machine_.InstructionCount, machine_.RegisterPC};
    return true;
}

void TDebugger::ArmStepOut() {
    follow_ = TFollow::StepOut;
    followSp_ = machine_.RegisterSP;
    followTransfers_ = machine_.Transfers.Count;
    machine_.FollowPasses = true;
    resumeFrom_ = {machine_.InstructionCount, machine_.RegisterPC};
}

void TDebugger::ArmRunTo(uint16_t address) {
    runTo_ = address;
    resumeFrom_ = {machine_.InstructionCount, machine_.RegisterPC};
    Remark();
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
// Step Out at the first RTS or RTI that takes SP above where it was.
bool TDebugger::StopAfterPass(TMachine& m) {
    if (follow_ == TFollow::None || m.Transfers.Count == followTransfers_) return false;
    followTransfers_ = m.Transfers.Count;
    const TTransfer last = m.Transfers.Back(0);
    if (last.Kind != TTransfer::Instruction || !LeavesRoutine(m, last.From)) return false;
    const bool over = follow_ == TFollow::StepOver;
    const bool jump = m.MemoryImage[last.From] != 0x39 && m.MemoryImage[last.From] != 0x3B;
    if (over ? m.RegisterSP < followSp_ : jump || m.RegisterSP <= followSp_) return false;
    Stop({.Kind = over ? TDebugStop::StepOver : TDebugStop::StepOut, .Address = m.RegisterPC,
          .Text = std::string(over ? "stepped over to " : "stepped out to ") + Describe(m.RegisterPC)});
    return true;
}

void TDebugger::Traced(const TMachine& m, uint16_t address) {
    traced_.Record({m.InstructionCount, address,
                    {m.RegisterA, m.RegisterB, m.RegisterX, m.RegisterY, m.RegisterSP, m.PackedCcr()}});
}

}  // namespace hexmoor
