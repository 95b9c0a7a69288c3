// The debugger's part in the main window: the Debug menu's handlers, the register edit on a
// double-click of a read-out, the symbols of a program just loaded, and the window title
// that says why a run stopped.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/Hex.h"
#include "debug/RegisterEdit.h"
#include "panel/DebugWindows.h"
#include "panel/FormControls.h"
#include "panel/HexmoorForm.h"
#include "panel/widgets/DigDisp.h"

namespace hexmoor {

namespace {

// Asks for a register's new value until it reads and fits, or the user cancels.
class TRegisterEditDialog : public QDialog {
public:
    TRegisterEditDialog(QWidget* owner, TDebugSession& session, TMachine& machine, const TEditableRegister& name)
        : QDialog(owner) {
        setObjectName("RegisterEditDialog");
        setWindowTitle("Edit Register");
        const uint16_t value = RegisterValue(machine, name.Register);
        auto* edit = new QLineEdit(QString::fromStdString(name.Largest == 0xFF ? Hex2(uint8_t(value)) : Hex4(value)));
        auto* problem = new QLabel;
        problem->setObjectName("RegisterEditProblem");
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QString("New value of %1 (hexadecimal, or an expression):").arg(name.Name)));
        layout->addWidget(edit);
        layout->addWidget(problem);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(buttons, &QDialogButtonBox::accepted, this, [=, this, &session, &machine] {
            std::string error;
            const std::string text = edit->text().trimmed().toStdString();
            if (const std::optional<uint16_t> typed = session.ReadAddress(text, error))
                error = SetRegister(machine, name, *typed);
            if (!error.empty()) return problem->setText(QString::fromStdString(error));
            session.MachineEdited();
            accept();
        });
    }
};

}  // namespace

void THexmoorForm::MemoryMenuClick() { debug_->Show(TDebugView::Memory); }
void THexmoorForm::CodeMenuClick() { debug_->Show(TDebugView::Code); }
void THexmoorForm::BreakpointsMenuClick() { debug_->Show(TDebugView::Breakpoints); }
void THexmoorForm::HistoryMenuClick() { debug_->Show(TDebugView::History); }
void THexmoorForm::SourceMenuClick() { debug_->Show(TDebugView::Source); }
void THexmoorForm::CallStackMenuClick() { debug_->Show(TDebugView::CallStack); }
void THexmoorForm::WatchMenuClick() { debug_->Show(TDebugView::Watch); }
void THexmoorForm::RunMenuClick() { debug_->Run(); }
void THexmoorForm::StepIntoMenuClick() { debug_->StepInto(); }
void THexmoorForm::StepOverMenuClick() { debug_->StepOver(); }
void THexmoorForm::StepOutMenuClick() {
    if (const std::string refused = debug_->StepOut(); !refused.empty())
        ShowMessage(TMessageKind::Information, TMessageButtons::Ok, refused);
}
void THexmoorForm::StepBackMenuClick() { TellGoingBack(debug_->StepBack()); }
void THexmoorForm::StepBackOverMenuClick() { TellGoingBack(debug_->StepBackOver()); }
void THexmoorForm::RunBackMenuClick() { TellGoingBack(debug_->RunBack()); }
void THexmoorForm::RecordMenuClick() { debug_->SetRecording(!debug_->Recording()); }
bool THexmoorForm::CanGoBack() const { return debug_->Recording() && debug_->CanGoBack(); }
bool THexmoorForm::Recording() const { return debug_->Recording(); }

void THexmoorForm::TellGoingBack(const std::string& refused) {
    if (!refused.empty()) ShowMessage(TMessageKind::Information, TMessageButtons::Ok, refused);
}

void THexmoorForm::RunToCursorMenuClick() { debug_->RunToCursor(); }
void THexmoorForm::RememberSessionsMenuClick() { debug_->SetRemembersSessions(!debug_->RemembersSessions()); }
bool THexmoorForm::RemembersSessions() const { return debug_->RemembersSessions(); }
void THexmoorForm::ToggleBreakpointMenuClick() { debug_->ToggleBreakpointAtCursor(); }
bool THexmoorForm::CanRunDebugger() const { return debug_->CanRun(); }

void THexmoorForm::ReloadMenuClick() {
    if (!CanReload()) return;
    AnswerNextFileQuestion(*debug_->Session().LastProgram());
    Handle(&TMachine::LoadClick);
    scriptedFileName_.reset();
}

bool THexmoorForm::CanReload() const { return machine_->Panel.LoadMenu.Enabled && debug_->Session().LastProgram(); }

// Once the outermost handler has returned: a program just loaded brings its symbols.
void THexmoorForm::AfterHandlers() {
    for (const std::string& warning : debug_->TakeLoadedProgram())
        ShowMessage(TMessageKind::Warning, TMessageButtons::Ok, warning);
}

// The title says why the run stopped, and when the machine shown is one from the past.
void THexmoorForm::RefreshDebugger() {
    debug_->Refresh();
    const TDebugStop* stop = debug_->CurrentStop();
    QString title = stop ? QString(kTitle) + " - " + QString::fromStdString(stop->Text) : kTitle;
    if (debug_->Replaying()) title += " (replaying)";
    setWindowTitle(title);
    if (depth_ > 0) return;
    if (const std::optional<std::string> message = debug_->TakeTimelineMessage())
        ShowMessage(TMessageKind::Information, TMessageButtons::Ok, *message);
}

// A double-click on a register's read-out while the machine is stopped edits it.
bool THexmoorForm::EditRegister(QObject* watched) {
    for (std::size_t i = 0; i < kReadoutPlaces.size(); ++i) {
        if (watched != controls_->Readouts[i] || !kReadoutPlaces[i].Caption) continue;
        const std::optional<TEditableRegister> name = RegisterNamed(kReadoutPlaces[i].Caption);
        if (!name) return false;
        if (!debug_->Stopped() || depth_ > 0) {
            Beep();
            return true;
        }
        TRegisterEditDialog dialog(this, debug_->Session(), *machine_, *name);
        Handle([&dialog] { dialog.exec(); });
        return true;
    }
    return false;
}

}  // namespace hexmoor
