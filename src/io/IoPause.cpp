// The I/O pause: the simulation stands still before a port or A/D access until the user
// confirms it, while every other control keeps working.
#include <string>

#include "core/Machine.h"

namespace hexmoor {

void TMachine::IoPause(TPortGroup pins, std::string_view name) {
    if (!Panel.IOOperationsMenu.Checked) return;
    DisplayMemory();
    DisplayRegisters();
    // The pause panel lies over the port groups: a terminal in front would hide it.
    const bool terminalInFront = Panel.ConsoleInFront;
    if (terminalInFront) {
        Panel.ConsoleInFront = false;
        Change(Panel.BringtoFrontMenu.Enabled, false, TPanelItem::Menus);
        FrontPanel.PanelChanged(TPanelItem::TerminalStacking);
    }
    const TPortGroupPort& port = kPortGroupPorts[pins];
    Change(Panel.IoPanel,
           TIoPanel{true, pins, std::string(name.empty() ? port.Port : name), port.Input ? "Input" : "Output"},
           TPanelItem::IoPause);
    const TMessageResult answer = FrontPanel.WaitForIoPause();
    Change(Panel.IoPanel.Visible, false, TPanelItem::IoPause);
    if (terminalInFront && Panel.LayoutWidth == 640) {  // unless the layout changed meanwhile
        Panel.ConsoleInFront = true;
        Change(Panel.BringtoFrontMenu.Enabled, true, TPanelItem::Menus);
        FrontPanel.PanelChanged(TPanelItem::TerminalStacking);
    }
    if (answer == TMessageResult::Cancel) Change(Panel.IOOperationsMenu.Checked, false, TPanelItem::Menus);
}

}  // namespace hexmoor
