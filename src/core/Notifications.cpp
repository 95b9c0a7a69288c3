// Messages about the simulated machine, each shown only while its View option is checked.
#include <string>

#include "core/Hex.h"
#include "core/Machine.h"

namespace hexmoor {

// Refreshes the read-outs so the user sees the machine as the message describes it, then
// asks; Cancel unchecks the option and silences the whole category.
void TMachine::ShowGatedMessage(TMenuItem& option, TMessageKind kind, std::string_view text) {
    if (!option.Checked) return;
    DisplayMemory();
    DisplayRegisters();
    if (FrontPanel.ShowMessage(kind, TMessageButtons::OkCancel, text) == TMessageResult::Cancel)
        Change(option.Checked, false, TPanelItem::Menus);
}

void TMachine::Warning(std::string_view message) {
    ShowGatedMessage(Panel.WarningsMenu, TMessageKind::Warning, message);
}

void TMachine::DispInterrupt(std::string_view message) {
    ShowGatedMessage(Panel.InterruptsMenu, TMessageKind::Information, message);
}

void TMachine::ReadRegInfo(std::string_view registerName) {
    if (!Panel.InternalRegistersMenu.Checked) return;
    std::string text = "Reading $" + Hex2(DataByte) + " from " + std::string(registerName);
    ShowGatedMessage(Panel.InternalRegistersMenu, TMessageKind::Information, text);
}

}  // namespace hexmoor
