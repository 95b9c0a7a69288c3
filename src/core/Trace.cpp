// DecodeInstruction: shows the next instruction on the panel and writes the trace log.
#include <cstdio>

#include "core/Hex.h"
#include "core/Machine.h"
#include "core/TraceText.h"

namespace hexmoor {

namespace {

std::string RightAligned(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

}  // namespace

std::string TMachine::TraceLine() const {
    std::string line = Hex4(RegisterPC) + " " + TraceText;
    if (line.size() < 27) line.resize(27, ' ');
    line += "A: " + Hex2(RegisterA) + "  B: " + Hex2(RegisterB) + "  X: " + Hex4(RegisterX) +
            "  Y: " + Hex4(RegisterY) + "  SP: " + Hex4(RegisterSP) +
            "  CCR: " + CcrLetters(PackedCcr()) + "\n";
    return line;
}

void TMachine::DecodeInstruction() {
    TraceText = BuildTraceText(*this);
    SetCaption(Panel.InstructionLabel, TPanelItem::InstructionLabel, TraceText);
    SetCaption(Panel.RegisterPCDisplay, TPanelItem::RegisterPCDisplay, Hex4(RegisterPC));
    SetCaption(Panel.CyclesValueLabel, TPanelItem::CyclesValueLabel,
               RightAligned(std::to_string(CycleCount), 15));
    if (!LogFile.IsOpen()) return;
    const std::string error = LogFile.Write(TraceLine());
    if (error.empty()) return;
    // Report once and close, so a full disk never stops the simulation.
    const std::string path = LogFile.Path();
    CloseLogFile();
    FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                           "Cannot write to the log file " + path + ": " + error +
                               ". The log file has been closed.");
}

bool TMachine::OpenLogFile(const std::string& path) {
    const std::string error = LogFile.Open(path);
    FrontPanel.PanelChanged(TPanelItem::LogFile);
    if (error.empty()) return true;
    FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                           "Cannot open the log file " + path + ": " + error);
    return false;
}

void TMachine::CloseLogFile() {
    LogFile.Close();
    FrontPanel.PanelChanged(TPanelItem::LogFile);
}

}  // namespace hexmoor
