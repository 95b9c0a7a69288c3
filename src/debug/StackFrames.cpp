#include "debug/StackFrames.h"

#include "control/VectorNames.h"
#include "debug/Debugger.h"
#include "debug/SourceLines.h"

namespace hexmoor {

namespace {

TStackFrame FrameAt(uint16_t address, const TDebugger& debugger, const TLineTable& lines) {
    TStackFrame frame;
    frame.Address = address;
    frame.Where = debugger.DescribeNear(address);
    if (const TLineEntry* line = LineAt(lines, address))
        frame.Line = TSourceLineRef{lines.Files[std::size_t(line->File)], line->Line};
    return frame;
}

}  // namespace

TStackFrames StackFramesOf(const TMachine& machine, const TDebugger& debugger, const TLineTable& lines) {
    const TCallStack& calls = machine.CallStack;
    TStackFrames frames;
    frames.Lost = calls.Lost;
    frames.Frames.push_back(FrameAt(machine.RegisterPC, debugger, lines));
    for (uint32_t age = 0; age < calls.Depth(); ++age) {
        const TCallFrame& call = calls.Back(age);
        TStackFrame& frame = frames.Frames.emplace_back(FrameAt(call.From, debugger, lines));
        frame.Entered = call.To;
        frame.Routine = debugger.Describe(call.To);
        if (call.Vector != 0) frame.Interrupt = VectorName(call.Vector);
    }
    return frames;
}

std::string FrameLineText(const TStackFrame& frame) {
    if (!frame.Line) return "";
    const std::string& file = frame.Line->File;
    return file.substr(file.find_last_of('/') + 1) + ":" + std::to_string(frame.Line->Line);
}

std::string FrameEnteredText(const TStackFrame& frame) {
    if (!frame.Entered) return "";
    return (frame.Interrupt.empty() ? "call" : "interrupt (" + frame.Interrupt + ")") + " to " + frame.Routine;
}

std::string StackFrameText(std::size_t number, const TStackFrame& frame) {
    std::string text = "#" + std::to_string(number) + "  " + frame.Where;
    for (const std::string& part : {FrameLineText(frame), FrameEnteredText(frame)})
        if (!part.empty()) text += "  " + part;
    return text;
}

std::vector<std::string> StackLines(const TStackFrames& frames) {
    std::vector<std::string> lines;
    for (std::size_t number = 0; number < frames.Frames.size(); ++number)
        lines.push_back(StackFrameText(number, frames.Frames[number]));
    // With no frame kept, some of the older ones may have returned already.
    if (frames.Lost != 0)
        lines.push_back("... " + std::string(frames.Frames.size() == 1 ? "up to " : "") + std::to_string(frames.Lost) +
                        " older frame" + (frames.Lost == 1 ? "" : "s") + " not kept (calls deeper than " +
                        std::to_string(TCallStack::kSize) + ")");
    return lines;
}

}  // namespace hexmoor
