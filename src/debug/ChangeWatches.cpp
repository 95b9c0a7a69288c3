#include "debug/ChangeWatches.h"

#include <algorithm>

#include "debug/MachineScope.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

// Reads as the machine scope does, noting each byte read.
class TRecordingScope : public TMachineScope {
public:
    TRecordingScope(const TMachine& machine, const TSymbolTable& symbols, std::vector<uint16_t>& read)
        : TMachineScope(machine, symbols), read_(read) {
        read_.clear();
    }
    uint8_t Memory(uint16_t address) const override {
        read_.push_back(address);
        return TMachineScope::Memory(address);
    }

private:
    std::vector<uint16_t>& read_;
};

// The bits of the register words that hold what an expression reads. PC has none: it moves
// at every instruction, so an expression on it is read after every pass.
TRegisterWords MaskOf(const TExpression& expression) {
    constexpr std::array<uint64_t, 6> kRegisterBits{
        0xFF00, 0x00FF, 0xFFFF, 0xFFFFull << 16, 0xFFFFull << 32, 0xFFFFull << 48,  // A B D X Y SP
    };
    TRegisterWords mask;
    for (std::size_t name = 0; name < kRegisterBits.size(); ++name)
        if (expression.RegistersRead() & (1u << name)) mask.Registers |= kRegisterBits[name];
    // CCR bit b is the flag in byte 7 - b of the flags word.
    for (int bit = 0; bit < 8; ++bit)
        if (expression.FlagsRead() & (1u << bit)) mask.Flags |= 0xFFull << (8 * (7 - bit));
    return mask;
}

std::optional<TExpression> Parsed(std::string_view text, const TMachine& machine, const TSymbolTable& symbols,
                                  std::string& error) {
    TExpressionMessage message;
    std::optional<TExpression> expression =
        TExpression::Parse(text, kConditionSyntax, TMachineScope(machine, symbols), message);
    if (!expression) error = message.Text + " (at column " + std::to_string(message.Column) + ")";
    return expression;
}

}  // namespace

std::string TChangeWatches::Add(TPointId id, std::string_view text) {
    std::string error;
    std::optional<TExpression> expression = Parsed(text, machine_, symbols_, error);
    if (!expression) return error;
    TWatched& added = watched_.emplace_back(id, std::string(text), std::move(*expression));
    Read(added);
    Gather();
    return "";
}

void TChangeWatches::Enable(TPointId id, bool enabled) {
    for (TWatched& watched : watched_) {
        if (watched.Id != id || watched.Enabled == enabled) continue;
        watched.Enabled = enabled;
        if (enabled) Read(watched);
    }
    Gather();
}

void TChangeWatches::Remove(TPointId id) {
    std::erase_if(watched_, [id](const TWatched& watched) { return watched.Id == id; });
    Gather();
}

void TChangeWatches::Clear() {
    watched_.clear();
    Gather();
}

void TChangeWatches::Reparse() {
    for (TWatched& watched : watched_) {
        std::string ignored;
        if (std::optional<TExpression> expression = Parsed(watched.Text, machine_, symbols_, ignored)) {
            watched.Expression = std::move(*expression);
            watched.Registers = watched.Expression.RegistersRead();
        }
    }
    Baseline();
}

void TChangeWatches::Baseline() {
    for (TWatched& watched : watched_)
        if (watched.Enabled) Read(watched);
    pending_ = false;
    Gather();
}

void TChangeWatches::Read(TWatched& watched) {
    const TRecordingScope scope(machine_, symbols_, watched.Bytes);
    watched.Value = ReadValue(watched.Expression, scope);
    for (int name = 0; name < 8; ++name)
        if (watched.Registers & (1u << name)) watched.RegisterValues[name] = scope.Register(TRegisterName(name));
    watched.Volatile = std::ranges::any_of(watched.Bytes, [this](uint16_t a) { return machine_.InRegisterWindow(a); });
    // A write to INIT or HPRIO can put other memory under the same addresses.
    if (!watched.Bytes.empty())
        for (int offset : {INIT, HPRIO}) watched.Bytes.push_back(uint16_t(machine_.IRegBeg + offset));
    watched.Dirty = false;
}

bool TChangeWatches::RegistersMoved(const TWatched& watched) const {
    if (watched.Registers == 0) return false;
    const TMachineScope scope(machine_, symbols_);
    for (int name = 0; name < 8; ++name)
        if ((watched.Registers & (1u << name)) && watched.RegisterValues[name] != scope.Register(TRegisterName(name)))
            return true;
    return false;
}

// What the debugger needs to know of them all: whether to be asked after every pass, and
// which bytes' writes to hear of.
void TChangeWatches::Gather() {
    follows_ = everyPass_ = false;
    registerMask_ = {};
    std::vector<uint16_t> bytes;
    for (const TWatched& watched : watched_) {
        if (!watched.Enabled) continue;
        follows_ |= watched.Registers != 0 || watched.Volatile;
        everyPass_ |= watched.Volatile || (watched.Registers & (1u << int(TRegisterName::PC)));
        const TRegisterWords mask = MaskOf(watched.Expression);
        registerMask_.Registers |= mask.Registers;
        registerMask_.Flags |= mask.Flags;
        bytes.insert(bytes.end(), watched.Bytes.begin(), watched.Bytes.end());
    }
    std::ranges::sort(bytes);
    bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
    if (bytes != bytes_) {
        bytes_ = std::move(bytes);
        bytesChanged_ = true;
    }
}

void TChangeWatches::Written(uint16_t address) {
    for (TWatched& watched : watched_)
        if (watched.Enabled && std::ranges::find(watched.Bytes, address) != watched.Bytes.end())
            pending_ = watched.Dirty = true;
}

std::optional<TChangeWatches::TChange> TChangeWatches::Check() {
    std::optional<TChange> change;
    bool moved = false;  // the bytes some expression reads
    for (TWatched& watched : watched_) {
        if (!watched.Enabled || (!watched.Volatile && !watched.Dirty && !RegistersMoved(watched))) continue;
        const TExpressionValue before = watched.Value;
        const bool wasVolatile = watched.Volatile;
        bytesBefore_.swap(watched.Bytes);  // swapped, not copied: a check allocates nothing
        Read(watched);
        moved |= watched.Bytes != bytesBefore_ || watched.Volatile != wasVolatile;
        if (!change && watched.Value != before) change = TChange{watched.Id, before, watched.Value};
    }
    pending_ = false;
    if (moved) Gather();
    return change;
}

}  // namespace hexmoor
