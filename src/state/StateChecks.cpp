#include "state/StateChecks.h"

#include <cstdint>

namespace hexmoor {

namespace {

struct TRange {
    const char* Name;
    int64_t Value, Min, Max;
};

// The register block's pages as INIT places it at `begin`.
bool RegisterPagesMatch(const TMachineState& s) {
    TAddressWindows expected;
    expected.MoveRegisterWindow(s.IRegBeg);
    for (std::size_t page = 0; page < s.PageFlags.size(); ++page)
        if ((s.PageFlags[page] ^ expected.PageFlags[page]) & kRegisterPage) return false;
    return true;
}

}  // namespace

std::string ImpossibleValue(const TMachineState& s) {
    // Cycle counts stay far below where adding an instruction's cycles could overflow.
    constexpr int64_t kCycleCeiling = int64_t(1) << 62;
    const TScreenContents& screen = s.Screen;
    const TRange ranges[] = {
        {"RunState", s.RunState, RunNormal, RunStopWakeUp},
        {"OperatingMode", s.OperatingMode, 0, 3},
        {"CycleCount", s.CycleCount, 0, kCycleCeiling},
        {"WaitLoop.LoopStart", s.WaitLoop.LoopStart, 0, s.CycleCount},
        {"WaitLoop.LastPollCycle", s.WaitLoop.LastPollCycle, 0, s.CycleCount},
        {"WaitLoop.LastOutput", s.WaitLoop.LastOutput, 0, s.CycleCount},
        {"InstructionCycles", s.InstructionCycles, 0, 64},
        {"PrescalerShift", s.PrescalerShift, 0, 4},
        {"AdChannel", s.AdChannel, 0, 15},
        {"AdResultIndex", s.AdResultIndex, 0, 3},
        {"SciFrameCycles", s.SciFrameCycles, 1, INT32_MAX},
        {"IRegBeg", s.IRegBeg % 0x1000 == 0 ? s.IRegBeg : -1, 0, 0xF000},
        {"IRegEnd", s.IRegEnd, s.IRegBeg + kRegisterCount - 1, s.IRegBeg + kRegisterCount - 1},
        {"IRamBeg", s.IRamBeg % 0x1000 == 0 ? s.IRamBeg : -1, 0, 0xF000},
        {"IRamEnd", s.IRamEnd, s.IRamBeg + kInternalRamSize - 1, s.IRamBeg + kInternalRamSize - 1},
        {"CallStack depth", int64_t(s.CallStack.Depth()), 0, TCallStack::kSize},
        {"TerminalLink.ConsoleEscapeState", s.TerminalLink.ConsoleEscapeState, 0, 2},
        {"Screen.Columns", screen.Columns, 2, TTerminalScreen::kMaxColumns},
        {"Screen.Rows", screen.Rows, 2, TTerminalScreen::kMaxRows},
        {"Screen.CursorX", screen.CursorX, 1, screen.Columns},
        {"Screen.CursorY", screen.CursorY, 1, screen.Rows},
    };
    for (const TRange& range : ranges)
        if (range.Value < range.Min || range.Value > range.Max)
            return std::string(range.Name) + " is out of range";
    if (!RegisterPagesMatch(s)) return "the register window's pages do not match IRegBeg";
    for (const uint8_t flags : s.PageFlags)
        if (flags & kWatchedPage) return "a page is marked as a debugger's";
    return "";
}

}  // namespace hexmoor
