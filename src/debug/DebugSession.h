// TDebugSession: what a debugger does for the window and the runner alike. It owns the
// debugger attached to the machine and the assembler behind the loader; it takes the
// symbols and source lines that come with each program loaded, reads every address a
// person types by one rule, arms the runs that end by themselves and says why the machine
// stopped. The front ends show it and start the runs.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "asm/SourceProgram.h"
#include "debug/Debugger.h"
#include "debug/LineTable.h"
#include "debug/StackFrames.h"
#include "debug/Timeline.h"
#include "debug/WatchList.h"

namespace hexmoor {

// What came with the program loaded now.
struct TLoadedProgram {
    std::string Path;
    TLineTable Lines;                           // empty when nothing tells where its lines went
    std::shared_ptr<const TAssembly> Assembly;  // when it was assembled from source
};

struct TProgramNotes {
    std::vector<std::string> Messages;  // about its symbols and lines, each naming its file
    bool SymbolFileUnread = false;      // a symbol file asked for by name could not be read
};

class TDebugSession {
public:
    // `report` is told of every assembly with something to say (see TSourceProgram).
    TDebugSession(TMachine& machine, TSourceProgram::TReport report);
    ~TDebugSession();
    TDebugSession(const TDebugSession&) = delete;
    TDebugSession& operator=(const TDebugSession&) = delete;

    TDebugger& Debugger() { return debugger_; }
    const TDebugger& Debugger() const { return debugger_; }

    // --- Programs ------------------------------------------------------------------------
    // A program is being loaded from `path`: its symbols are taken once the load is done.
    void ProgramChosen(const std::string& path) { chosen_ = path; }
    // After a load: the names and source lines of the program just loaded, from its
    // assembly, its ELF file or a symbol file beside it (or `symbolFile` when given).
    // Loading another program removes the breakpoints and watchpoints of the one before;
    // loading the same one again keeps them, and those on its source lines follow their
    // lines' code. Call it only after a load that finished.
    TProgramNotes TakeLoadedProgram(const std::optional<std::string>& symbolFile = {});
    // The program last chosen to load (File > Reload loads it again).
    const std::optional<std::string>& LastProgram() const { return lastProgram_; }
    std::shared_ptr<const TLoadedProgram> Program() const { return program_; }

    // --- Addresses as people type them -----------------------------------------------------
    // Numbers are hexadecimal ("2000", "$2000", "0x2000", "00002000"), "#8192" is decimal; a
    // name is a register, else a name of the program, else hex digits ("add" is a label
    // when the program has one); "FILE:LINE" is the code of that source line; an expression
    // combines them ("loop+3", "X+#10"). Beyond $FFFF is refused. `note` is set the first
    // time a name of the program hides a hex number.
    std::optional<uint16_t> ReadAddress(std::string_view text, std::string& error, std::string* note = nullptr);
    // "ADDR-END" (the first minus that splits the text into two addresses) or "ADDR".
    std::optional<std::pair<uint16_t, uint16_t>> ReadRange(std::string_view text, std::string& error,
                                                           std::string* note = nullptr);

    // --- Breakpoints and watchpoints by text; an error to show, empty when done. ------------
    std::string AddBreakpoint(std::string_view where, std::string_view condition = {}, uint64_t stopAtHit = 1,
                              std::string* note = nullptr);
    // TWatchAccess::Change takes an expression as conditions read it (`SP < $0100`) and no
    // value. Each watchpoint is added back from its Where, Access and Value.
    std::string AddWatchpoint(std::string_view where, TWatchAccess access, std::optional<uint8_t> value = {},
                              std::string* note = nullptr);
    // A click in a code or source margin.
    void ToggleBreakpointAt(uint16_t address);

    // --- The watch list -------------------------------------------------------------------
    // Its expressions are parsed with the program's names, again at each load; Texts() and
    // Add() keep it and give it back. Each stop (TakeStop) takes its values as the stop's.
    TWatchList& Watches() { return watches_; }
    const TWatchList& Watches() const { return watches_; }
    void AddWatch(std::string_view text);
    void ReplaceWatch(std::size_t index, std::string_view text);
    // The values now, marked where they changed since the last stop.
    void UpdateWatches();

    // --- Runs that end by themselves; the caller starts the run after arming one. ----------
    bool ArmStepOver() { return debugger_.ArmStepOver(); }
    // Empty when armed; else why not ("no caller to return to": the call stack is empty).
    std::string ArmStepOut();
    void ArmRunTo(uint16_t address) { debugger_.ArmRunTo(address); }

    // --- The call stack: frames newest first, frame 0 where PC is ----------------------------
    TStackFrames CallStack() const { return StackFramesOf(machine_, debugger_, program_->Lines); }

    // --- Stops -------------------------------------------------------------------------------
    bool Stopped() const;
    // Counts a stop when the machine stands somewhere new; the window calls it at each
    // refresh. A stop is new once an instruction ran or PC moved (a reset, an edit), not for
    // time passing in a WAI.
    void TakeStop();
    uint64_t StopCount() const { return stopCount_; }
    // Why the machine stopped, while it stays stopped there: "breakpoint at $E00B (halt)",
    // and where that is in the source when its lines are known: "... prog.asm:12" (the
    // file's name alone).
    const TDebugStop* CurrentStop() const { return stop_ && Stopped() ? &*stop_ : nullptr; }
    // Told of each stop of the debugger's as it happens, with the text CurrentStop gives.
    std::function<void(const TDebugStop&)> OnStop;

    // --- Going back in time ----------------------------------------------------------------
    // Off until asked for: then every outside input, and a snapshot every so often, are kept
    // (see TTimeline). Each load starts the recording afresh.
    void Record(bool on);
    TTimeline* Timeline() { return timeline_.get(); }
    // Each goes back while the machine is stopped; empty when done, else why not. A run or
    // step from there replays the recorded inputs until the end of the recording.
    // One step: the last instruction, or the last interrupt entry, undone.
    std::string StepBack();
    // After an RTS: back to before the JSR or BSR it returned to (as far as the History
    // reaches); after anything else, a StepBack.
    std::string StepBackOver();
    // To the last stop of a breakpoint or watchpoint before now (it becomes the current
    // stop); without one, to the oldest point held.
    std::string RunBack();
    // To the moment instruction number `count` had just executed (a History line's).
    std::string GoBackTo(uint64_t count);
    // Back to just after the last instruction before now that wrote the byte at `address`
    // (it becomes the current stop, a watchpoint's). A byte no instruction wrote since the
    // recording began is said to be so, and the machine stays.
    std::string WhoWrote(uint16_t address);
    // Told what the recording has to say: a new input in the past cut its future off, a
    // replay could not go on. The front ends show it.
    std::function<void(const std::string&)> OnTimelineMessage;
    // The user changed a register or a byte by hand: no recorded input says so, so the
    // recording starts afresh from the machine as it is now.
    void MachineEdited() {
        if (timeline_) timeline_->Restart();
    }

private:
    std::string GoBack(const TTimeTarget& target);
    // The stops the debugger makes before now, told as it tells them.
    std::vector<TTimeline::TStopPoint> StopsBeforeNow();
    // Lands as the debugger stopped at `stop`, which becomes the current stop.
    std::string GoBackToStop(const TTimeline::TStopPoint& stop);
    std::optional<TSourceLineRef> LineOf(uint16_t address) const;
    void FollowLines(const TLineTable& before);

    TMachine& machine_;
    TDebugger debugger_;
    TSourceProgram source_;
    uint64_t seenAttempts_ = 0, seenLoads_ = 0;  // the assembler's, when the last load was taken
    std::optional<std::string> chosen_, lastProgram_;
    std::shared_ptr<const TLoadedProgram> program_ = std::make_shared<TLoadedProgram>();
    std::set<std::string> notes_;  // names already said to hide a hex number
    std::optional<TDebugStop> stop_;
    bool stopNew_ = false;  // told by the debugger, not yet taken as a stop
    uint64_t stopCount_ = 0;
    std::pair<uint64_t, uint16_t> lastStop_;
    TWatchList watches_;
    std::unique_ptr<TTimeline> timeline_;
    // While RunBack looks for stops: the debugger's, kept instead of told.
    bool noting_ = false;
    std::optional<TDebugStop> noted_;
};

}  // namespace hexmoor
