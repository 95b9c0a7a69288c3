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

void TMachine::ClrScr() { FrontPanel.PanelChanged(TPanelItem::Terminal); }

void TMachine::CloseInputFile() {
    InputFileOpen = false;
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

}  // namespace hexmoor
