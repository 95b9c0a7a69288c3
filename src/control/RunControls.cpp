// The run controls: Run/Stop, Step, Reset and the breakpoint.
#include <cctype>

#include "core/Hex.h"
#include "core/Machine.h"

namespace hexmoor {

namespace {

constexpr const char* kStepHint = " Click to Execute One Instruction ";
constexpr const char* kLoadAnotherHint = " Click to Load Another Program ";

const char* RunHint(bool trace) {
    return trace ? " Click to Run the Program \r       (With Trace)       "
                 : " Click to Run the Program \r     (Without Trace)      ";
}

}  // namespace

// Both LEDs and the Load item enabled again, the Running LED inviting the next run.
void TMachine::SetRunControlsIdle() {
    const TPanelItem leds = TPanelItem::RunControls, menus = TPanelItem::Menus;
    Change(Panel.StepLed.Enabled, true, leds);
    SetLed(Panel.StepLed, kActiveScheme, kStepHint, leds);
    Change(Panel.RunningLed.Enabled, true, leds);
    SetLed(Panel.RunningLed, kActiveScheme, RunHint(Panel.TraceMenu.Checked), leds);
    Change(Panel.LoadedLed.Enabled, true, leds);
    SetLed(Panel.LoadedLed, kActiveScheme, kLoadAnotherHint, leds);
    Change(Panel.LoadMenu.Enabled, true, menus);
    Change(Panel.TraceMenu.Enabled, true, menus);
    Change(Panel.StartMenu, TMenuItem{true, false}, menus);
    Change(Panel.StopMenu, TMenuItem{true, true}, menus);
}

void TMachine::RunClick() {
    if (!Panel.RunningLed.Enabled) return;
    const TPanelItem leds = TPanelItem::RunControls, menus = TPanelItem::Menus;
    if (Panel.RunningLed.Lit) {
        // Clicked from inside the loop: it ends after its current pass.
        Change(Panel.RunningLed.Lit, false, leds);
        Change(Panel.RunningLed.Hint, RunHint(Panel.TraceMenu.Checked), leds);
        Change(Panel.StartMenu.Checked, false, menus);
        Change(Panel.StopMenu.Checked, true, menus);
        ReleaseInputWait();
        return;
    }
    Change(Panel.RunningLed.Lit, true, leds);
    Change(Panel.StartMenu.Checked, true, menus);
    Change(Panel.StopMenu.Checked, false, menus);
    Change(Panel.RunningLed.Hint, " Click to Stop the program ", leds);
    Change(Panel.StepLed.Enabled, false, leds);
    SetLed(Panel.StepLed, kDisabledScheme, " Moor Running ", leds);
    Change(Panel.LoadedLed.Enabled, false, leds);
    SetLed(Panel.LoadedLed, kDisabledScheme, " Moor Running ", leds);
    Change(Panel.LoadMenu.Enabled, false, menus);
    Change(Panel.TraceMenu.Enabled, false, menus);

    if (Debugger) Debugger->RunStarts(*this);
    if (Panel.TraceMenu.Checked) {
        Moor();
        if (ResetRequest) ResetMoor(ExternalReset);
        ShowNextInstruction();
    } else {
        FastMoor();
    }
    SetRunControlsIdle();
}

void TMachine::TraceMenuClick() {
    if (!Panel.TraceMenu.Enabled) return;
    FlipOption(Panel.TraceMenu);
    if (Panel.RunningLed.Enabled)
        Change(Panel.RunningLed.Hint, RunHint(Panel.TraceMenu.Checked), TPanelItem::RunControls);
}

void TMachine::StepLedClick() {
    if (!Panel.StepLed.Enabled) return;
    if (Panel.StepLed.Lit) {
        // A step is blocked on terminal input: the click only releases it.
        ReleaseInputWait();
        return;
    }
    const TPanelItem leds = TPanelItem::RunControls, menus = TPanelItem::Menus;
    Change(Panel.StepLed.Lit, true, leds);
    Change(Panel.StepLed.Hint, " Step in Progress ", leds);
    Change(Panel.StartMenu.Enabled, false, menus);
    Change(Panel.StopMenu.Enabled, false, menus);
    Change(Panel.RunningLed.Enabled, false, leds);
    SetLed(Panel.RunningLed, kDisabledScheme, " Step in Progress ", leds);
    Change(Panel.LoadMenu.Enabled, false, menus);
    Change(Panel.LoadedLed.Enabled, false, leds);
    SetLed(Panel.LoadedLed, kDisabledScheme, " Step in Progress ", leds);

    if (Debugger) Debugger->RunStarts(*this);
    Moor();

    Change(Panel.StepLed.Lit, false, leds);
    SetRunControlsIdle();
    if (ResetRequest) ResetMoor(ExternalReset);
    if (RunState == RunWaiting) DecodeInstruction();  // a step in WAI logs its line too
    ShowNextInstruction();
}

// The Status LED steps like the Step LED, but only when a step may start (or, during a
// step, to release its wait): never a second loop inside a run or a load.
void TMachine::StatusLedClick() {
    if (Panel.StepLed.Enabled) StepLedClick();
}

void TMachine::ResetButtonClick() {
    ResetRequest = true;
    ReleaseInputWait();
    RecordInput(TInput::Reset);
}

std::string TMachine::BreakPointText() const {
    return BreakPointAddress == kNoBreakPoint ? "" : Hex4(uint16_t(BreakPointAddress));
}

void TMachine::SetBreakPointFromText(const std::string& text) {
    if (text.empty()) {
        SetBreakPointAddress(kNoBreakPoint);
        return;
    }
    int32_t address = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) || address > 0xFFFFFF) {
            FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                                   "'$" + text + "' is not a valid integer value");
            return;
        }
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        address = address << 4 | digit;
    }
    SetBreakPointAddress(address);
}

void TMachine::SetBreakPointMenuClick() {
    if (std::optional<std::string> text = FrontPanel.AskBreakPointAddress(BreakPointText()))
        SetBreakPointFromText(*text);
}

}  // namespace hexmoor
