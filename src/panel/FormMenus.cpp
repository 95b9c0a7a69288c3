// The menu bar, built from one table: each item's caption, its handler in the machine or
// the window, and the panel state that enables, checks or names it.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "panel/HexmoorForm.h"

namespace hexmoor {

enum class TMenuKind { Plain, Check, Radio };

struct TMenuEntry {
    const char* Menu;
    const char* Name;
    const char* Caption;
    void (TMachine::*Core)() = nullptr;
    void (THexmoorForm::*Form)() = nullptr;
    TMenuItem TPanelState::*State = nullptr;  // enabled and checked
    TMenuKind Kind = TMenuKind::Plain;
    std::string TPanelState::*CaptionState = nullptr;  // a caption that changes
    bool SeparatorBefore = false;
    bool (THexmoorForm::*Enabled)() const = nullptr;  // enabled by the window's own state
    const char* Shortcut = nullptr;  // also from the debugger's windows
    bool (THexmoorForm::*Checked)() const = nullptr;  // checked by the window's own state
};

// The top-level menus; the Breakpoint menu is disabled until a program is loaded.
struct TTopMenu {
    const char* Caption;
    TMenuItem TPanelState::*State;
};

void THexmoorForm::CreateMenus() {
    using M = TMachine;
    using F = THexmoorForm;
    using P = TPanelState;
    using K = TMenuKind;
    static const TTopMenu kTopMenus[] = {
        {"&File", nullptr}, {"&View", nullptr}, {"&Run", nullptr}, {"&Terminal", nullptr},
        {"&Configure", nullptr}, {"&Printer", nullptr}, {"&Breakpoint", &P::BreakPointMenu},
        {"&Debug", nullptr}, {"&Help", nullptr},
    };
    static const TMenuEntry kEntries[] = {
        {"&File", "LoadMenu", "&Load S19 File", &M::LoadClick, nullptr, &P::LoadMenu},
        {"&File", "ReloadMenu", "&Reload", nullptr, &F::ReloadMenuClick, nullptr, K::Plain, nullptr, false,
         &F::CanReload, "F5"},
        {"&File", "LogMenu", "&Open Log File", &M::LogMenuClick},
        {"&File", "InputFileMenu", "&Input File", &M::InputFileMenuClick},
        {"&File", "ExitMenu", "E&xit", nullptr, &F::ExitMenuClick, nullptr, K::Plain, nullptr, true},
        {"&View", "LoadingMenu", "&Loading", &M::LoadingMenuClick, nullptr, &P::LoadingMenu, K::Check},
        {"&View", "TraceMenu", "&Trace", &M::TraceMenuClick, nullptr, &P::TraceMenu, K::Check},
        {"&View", "InternalRegistersMenu", "&Internal Registers", &M::InternalRegistersMenuClick, nullptr,
         &P::InternalRegistersMenu, K::Check},
        {"&View", "ADSamplingMenu", "&A/D Sampling", &M::ADSamplingMenuClick, nullptr, &P::ADSamplingMenu,
         K::Check},
        {"&View", "IOOperationsMenu", "I/&O Operations", &M::IOOperationsMenuClick, nullptr,
         &P::IOOperationsMenu, K::Check},
        {"&View", "InterruptsMenu", "Inte&rrupts", &M::InterruptsMenuClick, nullptr, &P::InterruptsMenu,
         K::Check},
        {"&View", "WarningsMenu", "&Warnings", &M::WarningsMenuClick, nullptr, &P::WarningsMenu, K::Check},
        {"&Run", "StartMenu", "Sta&rt", &M::RunClick, nullptr, &P::StartMenu, K::Radio},
        {"&Run", "StopMenu", "&Stop", &M::RunClick, nullptr, &P::StopMenu, K::Radio},
        {"&Run", "ChipSpeedMenu", "Chip &Speed (2 MHz)", &M::ChipSpeedMenuClick, nullptr, &P::ChipSpeedMenu,
         K::Check, nullptr, true},
        {"&Terminal", "BringtoFrontMenu", "Bring to &Front", &M::BringtoFrontMenuClick, nullptr,
         &P::BringtoFrontMenu, K::Plain, &P::BringtoFrontCaption},
        {"&Terminal", "ClearScreenMenu", "&Clear Screen", &M::ClrScr},
        {"&Terminal", "ClearInputBufferMenu", "Clear &Input Buffer", &M::ClearInputBufferClick},
        {"&Terminal", "HardCopyMenu", "&Hard Copy", &M::HardCopyClick},
        {"&Configure", "N640x480Menu", "&640 x 480", &M::ConfigureMenuClick, nullptr, &P::N640x480Menu, K::Radio},
        {"&Configure", "N800x600Menu", "&800 x 600", &M::ConfigureMenuClick, nullptr, &P::N800x600Menu, K::Radio},
        {"&Printer", "SetupMenu", "&Setup", nullptr, &F::SetupMenuClick},
        {"&Printer", "CloseMenu", "&Close", &M::CloseMenuClick, nullptr, &P::CloseMenu},
        {"&Breakpoint", "SetBreakPointMenu", "&Set", &M::SetBreakPointMenuClick},
        {"&Debug", "MemoryMenu", "&Memory", nullptr, &F::MemoryMenuClick},
        {"&Debug", "CodeMenu", "&Code", nullptr, &F::CodeMenuClick},
        {"&Debug", "BreakpointsMenu", "&Breakpoints", nullptr, &F::BreakpointsMenuClick},
        {"&Debug", "HistoryMenu", "&History", nullptr, &F::HistoryMenuClick},
        {"&Debug", "SourceMenu", "&Source", nullptr, &F::SourceMenuClick},
        {"&Debug", "CallStackMenu", "C&all Stack", nullptr, &F::CallStackMenuClick},
        {"&Debug", "WatchMenu", "&Watch", nullptr, &F::WatchMenuClick},
        {"&Debug", "RunMenu", "&Run", nullptr, &F::RunMenuClick, nullptr, K::Plain, nullptr, true,
         &F::CanRunDebugger, "F8"},
        {"&Debug", "StepIntoMenu", "Step &Into", nullptr, &F::StepIntoMenuClick, nullptr, K::Plain, nullptr, false,
         &F::CanRunDebugger, "F11"},
        {"&Debug", "StepOverMenu", "Step &Over", nullptr, &F::StepOverMenuClick, nullptr, K::Plain, nullptr, false,
         &F::CanRunDebugger, "F10"},
        {"&Debug", "StepOutMenu", "Step O&ut", nullptr, &F::StepOutMenuClick, nullptr, K::Plain, nullptr, false,
         &F::CanRunDebugger, "Shift+F11"},
        {"&Debug", "RunToCursorMenu", "Run &to Cursor", nullptr, &F::RunToCursorMenuClick, nullptr, K::Plain,
         nullptr, false, &F::CanRunDebugger, "Ctrl+F10"},
        {"&Debug", "StepBackMenu", "Ste&p Back", nullptr, &F::StepBackMenuClick, nullptr, K::Plain, nullptr, true,
         &F::CanGoBack, "Ctrl+Shift+F11"},
        {"&Debug", "StepBackOverMenu", "Step Back O&ver", nullptr, &F::StepBackOverMenuClick, nullptr, K::Plain,
         nullptr, false, &F::CanGoBack, "Ctrl+Shift+F10"},
        {"&Debug", "RunBackMenu", "Ru&n Back", nullptr, &F::RunBackMenuClick, nullptr, K::Plain, nullptr, false,
         &F::CanGoBack, "Ctrl+Shift+F8"},
        {"&Debug", "RecordMenu", "Recor&d", nullptr, &F::RecordMenuClick, nullptr, K::Check, nullptr, false, nullptr,
         nullptr, &F::Recording},
        {"&Debug", "ToggleBreakpointMenu", "Toggle Brea&kpoint", nullptr, &F::ToggleBreakpointMenuClick, nullptr,
         K::Plain, nullptr, false, nullptr, "F9"},
        {"&Debug", "RememberSessionsMenu", "R&emember Sessions", nullptr, &F::RememberSessionsMenuClick, nullptr,
         K::Check, nullptr, true, nullptr, nullptr, &F::RemembersSessions},
        {"&Help", "HintsMenu", "&Hints Off", &M::HintsMenuClick, nullptr, nullptr, K::Plain,
         &P::HintsMenuCaption},
        {"&Help", "AboutMenu", "&About", nullptr, &F::AboutMenuClick},
    };

    for (const TTopMenu& top : kTopMenus) {
        QMenu* menu = menuBar()->addMenu(top.Caption);
        menu->setObjectName(QString(top.Caption).remove('&') + "TopMenu");
        QActionGroup* radios = nullptr;
        for (const TMenuEntry& entry : kEntries) {
            if (std::string_view(entry.Menu) != top.Caption) continue;
            if (entry.SeparatorBefore) menu->addSeparator();
            QAction* action = menu->addAction(entry.Caption);
            action->setObjectName(entry.Name);
            action->setCheckable(entry.Kind != K::Plain);
            if (entry.Shortcut) {
                action->setShortcut(QKeySequence(entry.Shortcut));
                action->setShortcutContext(Qt::ApplicationShortcut);
            }
            if (entry.Kind == K::Radio) {
                if (!radios) radios = new QActionGroup(menu);
                radios->addAction(action);
            }
            // Qt flips a checkable item itself; the machine's state decides, so it is
            // shown again once the handler has run.
            connect(action, &QAction::triggered, this, [this, &entry] {
                if (entry.Core) Handle(entry.Core);
                else (this->*entry.Form)();
                RefreshMenus();
            });
            actions_.emplace_back(&entry, action);
        }
        if (top.State) topMenuStates_.emplace_back(menu, top.State);
    }
    RefreshMenus();
}

void THexmoorForm::RefreshMenus() {
    const TPanelState& panel = machine_->Panel;
    for (auto [entry, action] : actions_) {
        if (entry->State) {
            action->setEnabled((panel.*entry->State).Enabled);
            if (entry->Kind != TMenuKind::Plain) action->setChecked((panel.*entry->State).Checked);
        }
        if (entry->Enabled) action->setEnabled((this->*entry->Enabled)());
        if (entry->Checked) action->setChecked((this->*entry->Checked)());
        if (entry->CaptionState) action->setText(QString::fromStdString(panel.*entry->CaptionState));
    }
    for (auto [menu, state] : topMenuStates_) menu->menuAction()->setEnabled((panel.*state).Enabled);
}

QAction* THexmoorForm::MenuAction(const QString& name) const {
    for (auto [entry, action] : actions_)
        if (action->objectName() == name) return action;
    return nullptr;
}

}  // namespace hexmoor
