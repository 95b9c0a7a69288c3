// The change watchpoints' expressions: each stops a run after an instruction that changed
// its value (so a comparison stops when it becomes true, and again when it becomes false).
// Reading every expression after every instruction is what would cost, so one is read again
// only when something it reads may have changed: a register it names (compared after each
// pass), or a byte it read last time, which the debugger hears written through the
// machine's watched pages. An expression on plain memory leaves the run as it is; one that
// names D, A, B, X, Y, SP or CCR has the run's spans end after an instruction that moved
// them; only one that names PC or reads the register block (ports and timers change with no
// write) has the run go pass by pass, read after every one.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Machine.h"
#include "debug/Breakpoints.h"
#include "debug/Symbols.h"
#include "debug/ValueText.h"

namespace hexmoor {

class TChangeWatches {
public:
    struct TChange {
        TPointId Id = 0;
        TExpressionValue Before, After;
    };

    TChangeWatches(const TMachine& machine, const TSymbolTable& symbols) : machine_(machine), symbols_(symbols) {}

    // Parses the text with the program's names; the error to show, empty when armed.
    std::string Add(TPointId id, std::string_view text);
    void Enable(TPointId id, bool enabled);
    void Remove(TPointId id);
    void Clear();
    // The names changed: each text is parsed again (one that no longer parses keeps its
    // expression, whose names then fail to read).
    void Reparse();
    // Reads every one now: changes count from here (a run starts after the user may have
    // edited registers or memory, or loaded or reset).
    void Baseline();

    // The debugger must be asked after passes: after every one, or when the registers in
    // RegisterMask() moved.
    bool Follows() const { return follows_; }
    bool EveryPass() const { return everyPass_; }
    TRegisterWords RegisterMask() const { return registerMask_; }
    // A byte one of them read was written with another value: it is read after the pass.
    void Written(uint16_t address);
    bool Pending() const { return pending_; }
    // After a pass: those that may have changed are read again; the first that did.
    std::optional<TChange> Check();

    // The bytes whose writes matter, and whether they changed since last taken.
    const std::vector<uint16_t>& Bytes() const { return bytes_; }
    bool TakeBytesChanged() { return std::exchange(bytesChanged_, false); }

private:
    struct TWatched {
        TWatched(TPointId id, std::string text, TExpression expression)
            : Id(id), Text(std::move(text)), Expression(std::move(expression)), Registers(Expression.RegistersRead()) {}
        TPointId Id = 0;
        std::string Text;
        TExpression Expression;
        bool Enabled = true;
        uint8_t Registers = 0;                  // named by the expression, 1 << TRegisterName
        std::array<int32_t, 8> RegisterValues{};  // as last read
        TExpressionValue Value;
        std::vector<uint16_t> Bytes;  // read last time, and the bytes that map memory (INIT, HPRIO)
        bool Volatile = false;        // some byte read is in the register block
        bool Dirty = false;           // some byte read was written since
    };
    void Read(TWatched& watched);
    bool RegistersMoved(const TWatched& watched) const;
    void Gather();

    const TMachine& machine_;
    const TSymbolTable& symbols_;
    std::vector<TWatched> watched_;
    std::vector<uint16_t> bytes_;
    std::vector<uint16_t> bytesBefore_;  // what a check's expression read the time before
    bool follows_ = false, everyPass_ = false, pending_ = false, bytesChanged_ = false;
    TRegisterWords registerMask_;
};

}  // namespace hexmoor
