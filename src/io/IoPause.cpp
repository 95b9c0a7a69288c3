// The I/O pause: the simulation stands still before a port or A/D access until the user
// confirms it, while every other control keeps working.
#include <string>

#include "core/Machine.h"

namespace hexmoor {

void TMachine::IoPause(std::string_view port, std::string_view type) {
    if (!Panel.IOOperationsMenu.Checked) return;
    DisplayMemory();
    DisplayRegisters();
    Change(Panel.IoPanel, TIoPanel{true, std::string(port), std::string(type)}, TPanelItem::IoPause);
    const TMessageResult answer = FrontPanel.WaitForIoPause();
    Change(Panel.IoPanel.Visible, false, TPanelItem::IoPause);
    if (answer == TMessageResult::Cancel) Change(Panel.IOOperationsMenu.Checked, false, TPanelItem::Menus);
}

}  // namespace hexmoor
