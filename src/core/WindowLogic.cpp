// The main window's own decisions: its first activation, the close query, the log file,
// the hints switch and the layout. The window only forwards its events here.
#include <filesystem>

#include "core/Machine.h"

namespace hexmoor {

// Closing a dialog activates the window again: only the first activation resets, or every
// dialog would wipe out the user's run. The reset's own warnings would be noise at start.
void TMachine::FormActivate() {
    if (Panel.Activated) return;
    Panel.Activated = true;
    const bool warnings = Panel.WarningsMenu.Checked;
    Panel.WarningsMenu.Checked = false;
    ResetMoor(PowerOnReset);
    Panel.WarningsMenu.Checked = warnings;
}

// On Yes a run is stopped and a wait for input released: the loop on the stack unwinds
// after its current pass, and only then may the window go.
bool TMachine::FormCloseQuery() {
    const char* question = Panel.RunningLed.Lit ? "The Virtual Machine is running\rDo you want to Exit?"
                         : WaitingForInput      ? "The Virtual Machine is Waiting for Input\rDo you want to Exit?"
                                                : nullptr;
    if (!question) return true;
    if (FrontPanel.ShowMessage(TMessageKind::Confirmation, TMessageButtons::YesNo, question) !=
        TMessageResult::Yes)
        return false;
    if (Panel.RunningLed.Lit) RunClick();
    ReleaseInputWait();
    return true;
}

void TMachine::FormDestroy() {
    CloseLogFile();
    if (!PrinterOpen) return;
    FrontPanel.PrinterClose();
    PrinterOpen = false;
}

// An open log is closed first (or kept, and nothing else happens); then a new one is
// chosen. Creating a file and replacing one are both confirmed.
void TMachine::LogMenuClick() {
    if (LogFile.IsOpen()) {
        if (FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::YesNo,
                                   LogFile.Path() + " is open\rOK to close it?") != TMessageResult::Yes)
            return;
        CloseLogFile();
    }
    TFileQuestion question{"Open Log File", "Log Files (*.log)|*.log|All Files (*.*)|*.*", "LOG",
                           "hexmoor.log"};
    question.ForWriting = true;
    const std::optional<std::string> path = FrontPanel.AskFileName(question);
    if (!path) return;
    std::error_code error;
    const std::string prompt = std::filesystem::exists(*path, error)
                                   ? *path + " already exists.\rDo you want to replace it?"
                                   : *path + " does not exist.\rDo you want to create it?";
    if (FrontPanel.ShowMessage(TMessageKind::Confirmation, TMessageButtons::YesNo, prompt) !=
        TMessageResult::Yes)
        return;
    OpenLogFile(*path);
}

void TMachine::HintsMenuClick() {
    Panel.HintsShown = !Panel.HintsShown;
    Panel.HintsMenuCaption = Panel.HintsShown ? "&Hints Off" : "&Hints On";
    FrontPanel.PanelChanged(TPanelItem::Hints);
    FrontPanel.PanelChanged(TPanelItem::Menus);
}

// In the large layout the terminal overlaps nothing, so it has no front or back: it goes
// back, and the menu item and the double click that would move it are off.
void TMachine::ConfigureMenuClick() {
    const bool large = Panel.LayoutWidth == 640;
    Panel.LayoutWidth = large ? 800 : 640;
    Panel.N640x480Menu.Checked = !large;
    Panel.N800x600Menu.Checked = large;
    Panel.BringtoFrontMenu.Enabled = !large;
    if (large && Panel.ConsoleInFront) {
        Panel.ConsoleInFront = false;
        Panel.BringtoFrontCaption = "Bring To &Front";
        FrontPanel.PanelChanged(TPanelItem::TerminalStacking);
    }
    FrontPanel.PanelChanged(TPanelItem::Layout);
    FrontPanel.PanelChanged(TPanelItem::Menus);
}

void TMachine::ConsoleDblClick() {
    if (Panel.LayoutWidth == 640) BringtoFrontMenuClick();
}

}  // namespace hexmoor
