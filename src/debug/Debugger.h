// The debugger core: breakpoints with conditions and hit counts, watchpoints on bytes and
// ranges, Step Over, Step Out and Run to an address, the history. It lives beside the
// machine (the machine keeps only the marks it tests) and hears from it through the
// machine's debug hooks. Addresses come to it already read (the debug session reads text).
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Machine.h"
#include "debug/Breakpoints.h"
#include "debug/ChangeWatches.h"
#include "debug/Symbols.h"
#include "debug/TracedPasses.h"

namespace hexmoor {

class TDebugger : public TDebugHooks {
public:
    explicit TDebugger(TMachine& machine);
    ~TDebugger() override;
    TDebugger(const TDebugger&) = delete;
    TDebugger& operator=(const TDebugger&) = delete;

    // The program's names, for conditions and for describing addresses.
    TSymbolTable Symbols;

    // "$E00B (halt)": an address with the names that start there.
    std::string Describe(uint16_t address) const;
    // "$E00B (main+3)": an address with the nearest name at or below it.
    std::string DescribeNear(uint16_t address) const;

    // --- Breakpoints and watchpoints; each returns an error to show, empty when done. ------
    std::string AddBreakpoint(uint16_t address, std::string where, std::string_view condition = {},
                              uint64_t stopAtHit = 1, std::optional<TSourceLineRef> line = {});
    std::string SetCondition(TPointId id, std::string_view condition, uint64_t stopAtHit = 1);
    // Whether the breakpoint stops the run, or only tells of its hits (see TBreakpoint::Stops).
    void SetStops(TPointId id, bool stops);
    void AddWatchpoint(uint16_t first, uint16_t last, std::string where, TWatchAccess access,
                       std::optional<uint8_t> value = {});
    // A change watchpoint on an expression as conditions read it (`SP < $0100`, `X`,
    // `[[ptr]]`): it stops after an instruction that changed its value.
    std::string AddChangeWatchpoint(std::string_view expression);
    void EnableBreakpoint(TPointId id, bool enabled);
    void EnableWatchpoint(TPointId id, bool enabled);
    void RemoveBreakpoint(TPointId id);
    void RemoveWatchpoint(TPointId id);
    void RemoveAll();
    // A click in a code view's margin: removes the breakpoints at the address, or adds one.
    void ToggleBreakpointAt(uint16_t address, std::optional<TSourceLineRef> line = {});
    // Symbols changed (the same program loaded again): change watchpoints read their names anew.
    void SymbolsChanged();
    // The breakpoint's code moved to `address` (its source assembled again), keeping its
    // condition and hits; nullopt: its line has no code now, so it does not stop.
    void PlaceBreakpoint(TPointId id, std::optional<uint16_t> address);
    const std::vector<TBreakpoint>& Breakpoints() const { return breakpoints_; }
    const std::vector<TWatchpoint>& Watchpoints() const { return watchpoints_; }
    const TBreakpoint* FindBreakpoint(TPointId id) const;

    // --- Runs that end by themselves; the caller starts the run after arming one. ----------
    // A JSR, BSR or SWI at PC runs until it has returned (true); anything else is a Step (false).
    bool ArmStepOver();
    // Runs until the current subroutine or handler is left: by the RTS, RTI or JMP that takes
    // SP above where its call or interrupt left it (above SP now when the machine lost track).
    void ArmStepOut();
    void ArmRunTo(uint16_t address);
    // The machine was put here (gone back in time): a run or step from here executes the
    // instruction at PC first, as from a stop.
    void ResumeHere() { resumeFrom_ = std::pair{machine_.InstructionCount, machine_.RegisterPC}; }

    // Why the last run stopped at a breakpoint, watchpoint or the end of a Step Over, Step
    // Out or Run to.
    const std::optional<TDebugStop>& LastStop() const { return lastStop_; }
    // Told of each stop as it happens (the runner prints it; a window shows it).
    std::function<void(const TDebugStop&)> OnStop;
    // Told of each hit of a breakpoint that does not stop, before its instruction runs.
    std::function<void(const TBreakpoint&)> OnHitGoingOn;

    // The registers after the last instructions that ran traced or stepped.
    const TTracedPasses& TracedPasses() const { return traced_; }

    // --- The machine's hooks ----------------------------------------------------------------
    bool StopBefore(TMachine& machine) override;
    void Accessed(TMachine& machine, uint16_t address, uint8_t before, uint8_t value, bool write) override;
    bool StopAfterPass(TMachine& machine) override;
    void Traced(const TMachine& machine, uint16_t address) override;
    void RunStarts(TMachine& machine) override;

private:
    enum class TFollow : uint8_t { None, StepOver, StepOut };
    TBreakpoint* Breakpoint(TPointId id);
    std::string ApplyCondition(TBreakpoint& breakpoint, std::string_view condition, uint64_t stopAtHit);
    TWatchpoint* Watchpoint(TPointId id);
    // The stop mark of one address, and the watched bytes and pages, from the points.
    void UpdateStopMark(uint16_t address);
    void UpdateWatchedBytes();
    // The bytes change watchpoints read, marked to hear their writes; the pages watched.
    void MarkChangeBytes();
    void WatchPages();
    // After the change watchpoints changed: their bytes, and whether passes are followed.
    void AfterChangeWatches();
    void UpdateFollowing();
    bool StopAtChange(TMachine& machine);
    void IndexBreakpoints();
    void SetRunTo(std::optional<uint16_t> address);
    void Stop(TDebugStop stop);

    TMachine& machine_;
    TPointId nextId_ = 1;
    std::vector<TBreakpoint> breakpoints_;
    std::vector<TWatchpoint> watchpoints_;
    // Where each address's placed, enabled breakpoints are in the list: a stop mark costs
    // what changed, a hit what is at that address.
    std::unordered_map<uint16_t, std::vector<std::size_t>> breakpointsAt_;
    // The accesses (TWatchAccess bits) some enabled watchpoint watches, a byte an address.
    // Bit 4 (TWatchAccess::Change): some change watchpoint's expression read the byte.
    std::array<uint8_t, 0x10000> watchedBytes_{};
    std::array<bool, 256> accessPages_{};  // the pages of enabled access watchpoints
    TChangeWatches changes_{machine_, Symbols};
    std::vector<uint16_t> changeMarked_;  // the bytes marked for change watchpoints
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
