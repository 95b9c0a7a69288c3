// The terminal link's part in running and resetting the machine.
#include "core/Machine.h"

namespace hexmoor {

// The waiting read then takes the abort byte and the program goes on.
void TMachine::ReleaseInputWait() {
    if (!WaitingForInput) return;
    InputBuffer = std::string(1, kAbortByte);
    WaitingForInput = false;
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

void TMachine::ConsoleStatus() { DataByte = InputBuffer.empty() ? 0 : 1; }

// The next typed character. Waiting for one while none is there is the terminal link's.
void TMachine::ConsoleInput() {
    if (InputBuffer.empty()) return;
    DataByte = uint8_t(InputBuffer.front());
    InputBuffer.erase(0, 1);
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

void TMachine::ConsoleOutput() {}

void TMachine::PrinterOutput() {}

void TMachine::ClrScr() { FrontPanel.PanelChanged(TPanelItem::Terminal); }

void TMachine::CloseInputFile() {
    InputFileOpen = false;
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

}  // namespace hexmoor
