// DecodeInstruction: shows the next instruction on the panel and writes the trace log.
#include <cstdio>

#include "core/Hex.h"
#include "core/Machine.h"
#include "core/TraceText.h"

namespace hexmoor {

std::string TMachine::TraceLine() const {
    std::string line = Hex4(RegisterPC) + " " + TraceText;
    if (line.size() < 27) line.resize(27, ' ');
    line += "A: " + Hex2(RegisterA) + "  B: " + Hex2(RegisterB) + "  X: " + Hex4(RegisterX) +
            "  Y: " + Hex4(RegisterY) + "  SP: " + Hex4(RegisterSP) +
            "  CCR: " + CcrLetters(PackedCcr()) + "\n";
    return line;
}

void TMachine::ShowInstructionText() {
    TraceText = BuildTraceText(*this);
    Change(Panel.InstructionLabel, TraceText, TPanelItem::Trace);
}

void TMachine::DecodeInstruction() {
    ShowInstructionText();
    Change(Panel.RegisterPCDisplay.Text, Hex4(RegisterPC), TPanelItem::Readouts);
    Change(Panel.CyclesValueLabel, CycleText(CycleCount), TPanelItem::Readouts);
    if (!LogFile.IsOpen()) return;
    const std::string error = LogFile.Write(TraceLine());
    if (error.empty()) return;
    // Report once and close, so a full disk never stops the simulation.
    const std::string path = LogFile.Path();
    CloseLogFile();
    FrontPanel.ShowMessage(TMessageKind::WriteFailed, TMessageButtons::Ok,
                           "Cannot write to the log file " + path + ": " + error +
                               ". The log file has been closed.");
}

// A debugger changed registers while the machine stood still: the read-outs and the next
// instruction's line show them, and the log gets no line, since nothing was executed.
void TMachine::ShowEditedRegisters() {
    DisplayAllRegisters();
    ShowInstructionText();
}

bool TMachine::OpenLogFile(const std::string& path) {
    const std::string error = LogFile.Open(path);
    FrontPanel.PanelChanged(TPanelItem::Menus);
    if (error.empty()) return true;
    FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                           "Cannot open the log file " + path + ": " + error);
    return false;
}

void TMachine::CloseLogFile() {
    LogFile.Close();
    FrontPanel.PanelChanged(TPanelItem::Menus);
}

}  // namespace hexmoor
