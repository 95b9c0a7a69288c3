// The debug session's commands that go back in time.
#include <algorithm>
#include <utility>

#include "core/Hex.h"
#include "core/Machine.h"
#include "debug/DebugSession.h"
#include "debug/History.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

constexpr uint8_t kRts = 0x39, kBsr = 0x8D, kPageY = 0x18;

bool IsCall(const TMachine& m, uint16_t address) {
    uint8_t opcode = m.BusByteAt(address);
    if (opcode == kPageY) opcode = m.BusByteAt(uint16_t(address + 1));
    return opcode == kBsr || opcode == 0x9D || opcode == 0xAD || opcode == 0xBD;  // JSR dir, idx, ext
}

// Enough lines to find the call of a subroutine that ran a while.
constexpr std::size_t kCallSearchLines = 4096;

}  // namespace

void TDebugSession::Record(bool on) {
    if (on == (timeline_ != nullptr)) return;
    timeline_.reset();
    if (!on) return;
    timeline_ = std::make_unique<TTimeline>(machine_);
    timeline_->OnMessage = [this](const std::string& message) {
        if (OnTimelineMessage) OnTimelineMessage(message);
    };
}

std::string TDebugSession::GoBack(const TTimeTarget& target) {
    if (!timeline_) return "Going back needs the recording on";
    if (!Stopped()) return "Going back needs the machine stopped";
    const std::string error = timeline_->GoTo(target);
    if (!error.empty()) return error;
    debugger_.ResumeHere();
    stop_.reset();
    machine_.ShowWhereStopped();
    return "";
}

std::string TDebugSession::StepBack() {
    const TTimePoint now = machine_.TimePoint();
    const std::vector<THistoryLine> last = ExecutionHistory(machine_, nullptr, 1);
    if (!last.empty() && last.back().Interrupt && now.Interrupts > 0)
        return GoBack({{now.Instructions, now.Interrupts - 1, 0}, true});
    if (now.Instructions == 0) return "Step Back: no instruction has run";
    return GoBack({{now.Instructions - 1, now.Interrupts, 0}, true});
}

// The History, newest last, leads from the RTS back to its call: calls and
// returns in between pair off, interrupts entered after the call are counted
// out of the count now.
std::string TDebugSession::StepBackOver() {
    const std::vector<THistoryLine> lines = ExecutionHistory(machine_, nullptr, kCallSearchLines);
    if (lines.empty() || lines.back().Interrupt || machine_.BusByteAt(lines.back().Address) != kRts) return StepBack();
    const TTimePoint now = machine_.TimePoint();
    uint64_t instructions = 0, interrupts = 0;
    int depth = 0;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (line->Interrupt) {
            ++interrupts;
            continue;
        }
        ++instructions;
        if (machine_.BusByteAt(line->Address) == kRts)
            ++depth;
        else if (IsCall(machine_, line->Address) && --depth == 0)
            return GoBack({{now.Instructions - instructions, now.Interrupts - interrupts, 0}, true});
    }
    return "Step Back Over: the call is further back than the History reaches";
}

std::string TDebugSession::GoBackTo(uint64_t count) {
    if (count > machine_.InstructionCount) return "Instruction " + std::to_string(count) + " has not run yet";
    return GoBack({{count, 0, 0}, true, true});
}

std::vector<TTimeline::TStopPoint> TDebugSession::StopsBeforeNow() {
    noting_ = true;
    std::vector<TTimeline::TStopPoint> stops = timeline_->StopsBefore(machine_.TimePoint(), [this] {
        if (noted_) return *std::exchange(noted_, std::nullopt);
        const uint16_t pc = machine_.RegisterPC;  // the Breakpoint menu's own address
        return TDebugStop{
            .Kind = TDebugStop::Breakpoint, .Address = pc, .Text = "breakpoint at " + debugger_.Describe(pc)};
    });
    noting_ = false;
    noted_.reset();
    return stops;
}

std::string TDebugSession::GoBackToStop(const TTimeline::TStopPoint& stop) {
    debugger_.ResumeHere();  // not the last stop it noted: it stops there again
    noting_ = true;          // and is told of it below
    const std::string error = GoBack({.At = stop.At, .AsStopped = true});
    noting_ = false;
    noted_.reset();
    if (!error.empty()) return error;
    stop_ = stop.Stop;
    stopNew_ = true;  // the next TakeStop counts it as the debugger's
    return "";
}

std::string TDebugSession::RunBack() {
    if (!timeline_) return "Going back needs the recording on";
    if (!Stopped()) return "Going back needs the machine stopped";
    const std::vector<TTimeline::TStopPoint> stops = StopsBeforeNow();
    if (stops.empty()) return GoBack({timeline_->Oldest()});
    return GoBackToStop(stops.back());
}

// A write watchpoint of its own on the byte finds the writes, and stops the replay that
// lands on the last; the user's points are set aside meanwhile, so that their stops do not
// end the search before it reaches the write.
std::string TDebugSession::WhoWrote(uint16_t address) {
    if (!timeline_) return "Who wrote this needs the recording on";
    if (!Stopped()) return "Who wrote this needs the machine stopped";
    std::vector<TPointId> breakpoints, watchpoints;
    for (const TBreakpoint& b : debugger_.Breakpoints())
        if (b.Enabled) breakpoints.push_back(b.Id);
    for (const TWatchpoint& w : debugger_.Watchpoints())
        if (w.Enabled) watchpoints.push_back(w.Id);
    const auto enable = [&](bool on) {
        for (TPointId id : breakpoints) debugger_.EnableBreakpoint(id, on);
        for (TPointId id : watchpoints) debugger_.EnableWatchpoint(id, on);
    };
    enable(false);
    const std::string where = debugger_.Describe(address);
    debugger_.AddWatchpoint(address, address, "$" + Hex4(address), TWatchAccess::Write);
    const TPointId finder = debugger_.Watchpoints().back().Id;
    const std::vector<TTimeline::TStopPoint> stops = StopsBeforeNow();
    const auto write = std::find_if(stops.rbegin(), stops.rend(), [finder](const TTimeline::TStopPoint& stop) {
        return stop.Stop.Kind == TDebugStop::Watchpoint && stop.Stop.Id == finder;
    });
    std::string said;
    if (write != stops.rend()) {
        said = GoBackToStop(*write);
    } else {
        said = "no instruction wrote " + where + " since the recording began: ";
        if (machine_.InRegisterWindow(address))
            said += "it is the chip's register " + RegisterNameAt(address - machine_.IRegBeg) + ", which the chip sets";
        else
            said += "it holds what was loaded there, or what it held then";
    }
    debugger_.RemoveWatchpoint(finder);
    enable(true);
    return said;
}

}  // namespace hexmoor
