// The debugger core: breakpoints with conditions and hit counts, watchpoints on bytes and
// ranges, Step Over, Step Out and Run to an address, symbols, the history. It lives beside
// the machine (the machine keeps only the marks it tests) and hears from it through the
// machine's debug hooks. Views show it; controls call it and then start the run.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Machine.h"
#include "debug/Breakpoints.h"
#include "debug/Symbols.h"
#include "debug/TracedPasses.h"

namespace hexmoor {

// Reads one address of a text, or says why it cannot.
using TAddressReader = std::function<std::optional<uint16_t>(std::string_view text, std::string& error)>;
// "ADDR-END" (the first minus that splits the text into two addresses) or "ADDR", each end
// read by `read`: an expression with a minus in it is parenthesised as one end of a range.
std::optional<std::pair<uint16_t, uint16_t>> ReadRange(std::string_view text, std::string& error,
                                                       const TAddressReader& read);

class TDebugger : public TDebugHooks {
public:
    explicit TDebugger(TMachine& machine);
    ~TDebugger() override;
    TDebugger(const TDebugger&) = delete;
    TDebugger& operator=(const TDebugger&) = delete;

    TSymbolTable Symbols;

    // An address typed by a person: an expression of numbers ($hex, %binary, decimal, or
    // hex digits alone) and symbols ("loop+3"). Empty `error` when it reads.
    std::optional<uint16_t> ParseAddress(std::string_view text, std::string& error) const;
    // Hexadecimal digits alone first, as addresses and values were always typed ("E00B",
    // "$E00B", "0xE00B"); any other text as ParseAddress reads it.
    std::optional<uint16_t> ParseHexFirst(std::string_view text, std::string& error) const;
    // "ADDR" or "ADDR-END", as ReadRange reads them, with ParseAddress.
    std::optional<std::pair<uint16_t, uint16_t>> ParseRange(std::string_view text, std::string& error) const;
    // "$E00B (halt)": an address with the names that start there.
    std::string Describe(uint16_t address) const;

    // --- Breakpoints and watchpoints; each returns an error to show, empty when done. ------
    std::string AddBreakpoint(std::string_view where, std::string_view condition = {}, uint64_t stopAtHit = 1);
    std::string SetCondition(std::size_t index, std::string_view condition, uint64_t stopAtHit = 1);
    // A byte or a range, as ParseRange reads it.
    std::string AddWatchpoint(std::string_view where, TWatchAccess access, std::optional<uint8_t> value = {});
    void Enable(bool watchpoint, std::size_t index, bool enabled);
    void Remove(bool watchpoint, std::size_t index);
    // A click in a code view's margin: removes the breakpoints at the address, or adds one.
    void ToggleBreakpointAt(uint16_t address);
    // The breakpoint's code moved (its source assembled again): it follows to `address`,
    // keeping its condition and hits; its text stays when it still reads as that address.
    void MoveBreakpoint(std::size_t index, uint16_t address);
    const std::vector<TBreakpoint>& Breakpoints() const { return breakpoints_; }
    const std::vector<TWatchpoint>& Watchpoints() const { return watchpoints_; }

    // --- Runs that end by themselves; the caller starts the run after arming one. ----------
    // A JSR, BSR or SWI at PC runs until it has returned (true); anything else is a Step (false).
    bool ArmStepOver();
    // Runs until an RTS or RTI leaves the current subroutine or handler.
    void ArmStepOut();
    void ArmRunTo(uint16_t address);

    // Why the last run stopped at a breakpoint, watchpoint or the end of a Step Over, Step
    // Out or Run to; cleared when a run starts that stops for another reason.
    const std::optional<TDebugStop>& LastStop() const { return lastStop_; }
    // Told of each stop as it happens (the runner prints it; a window shows it).
    std::function<void(const TDebugStop&)> OnStop;

    // The registers after the last instructions that ran traced or stepped.
    const TTracedPasses& TracedPasses() const { return traced_; }

    // --- The machine's hooks ----------------------------------------------------------------
    bool StopBefore(TMachine& machine) override;
    void Accessed(TMachine& machine, uint16_t address, uint8_t before, uint8_t value, bool write) override;
    bool StopAfterPass(TMachine& machine) override;
    void Traced(const TMachine& machine, uint16_t address) override;

private:
    enum class TFollow : uint8_t { None, StepOver, StepOut };
    void Remark();
    void Stop(TDebugStop stop);

    TMachine& machine_;
    std::vector<TBreakpoint> breakpoints_;
    std::vector<TWatchpoint> watchpoints_;
    std::optional<uint16_t> runTo_;
    TFollow follow_ = TFollow::None;
    uint16_t followSp_ = 0;
    uint64_t followTransfers_ = 0;
    // A run or step from a stop at a breakpoint executes that instruction first.
    std::optional<std::pair<uint64_t, uint16_t>> resumeFrom_;
    std::optional<TDebugStop> lastStop_;
    TTracedPasses traced_;
};

}  // namespace hexmoor
