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

// Register warnings show under either option; Cancel silences the one that let it through.
void TMachine::RegisterWarning(std::string_view text) {
    TMenuItem& option =
        Panel.InternalRegistersMenu.Checked ? Panel.InternalRegistersMenu : Panel.WarningsMenu;
    ShowGatedMessage(option, TMessageKind::Warning, text);
}

void TMachine::ReadRegInfo(std::string_view registerName) {
    if (!Panel.InternalRegistersMenu.Checked) return;
    ShowGatedMessage(Panel.InternalRegistersMenu, TMessageKind::Information,
                     "Reading $" + Hex2(DataByte) + " from " + std::string(registerName));
}

void TMachine::ReadRegWarning(std::string_view registerName) {
    if (!Panel.InternalRegistersMenu.Checked && !Panel.WarningsMenu.Checked) return;
    RegisterWarning("Reading $" + Hex2(DataByte) + " from " + std::string(registerName));
}

void TMachine::WriteRegInfo(std::string_view registerName) {
    if (!Panel.InternalRegistersMenu.Checked) return;
    ShowGatedMessage(Panel.InternalRegistersMenu, TMessageKind::Information,
                     "Writing $" + Hex2(RegisterWriteByte) + " to " + std::string(registerName));
}

void TMachine::WriteRegWarning(std::string_view registerName) {
    if (!Panel.InternalRegistersMenu.Checked && !Panel.WarningsMenu.Checked) return;
    RegisterWarning("Writing $" + Hex2(RegisterWriteByte) + " to " + std::string(registerName));
}

}  // namespace hexmoor
