// The one interface through which the core reaches the outside world (window, runner, tests).
#pragma once

#include <string_view>

namespace hexmoor {

enum class TMessageKind { Warning, Information, Confirmation };
enum class TMessageButtons { Ok, OkCancel, YesNo };
enum class TMessageResult { Ok, Cancel, Yes, No };

// Panel state that a view shows; a change notification names the item that changed.
enum class TPanelItem {
    Readouts,  // register and memory read-outs: refresh before a message is shown
    InstructionLabel,  // the trace text of the next instruction
    RegisterPCDisplay,
    CyclesValueLabel,
    LogFile,  // opened or closed
    IrqButton,
    StatusLed,
    InternalRegistersMenu,
    WarningsMenu,
};

class TFrontPanel {
public:
    virtual ~TFrontPanel() = default;

    // Change notification: the core's panel state for this item changed.
    virtual void PanelChanged(TPanelItem item) = 0;

    // A question a person answers: a modal message dialog, returning the button pressed.
    virtual TMessageResult ShowMessage(TMessageKind kind, TMessageButtons buttons,
                                       std::string_view text) = 0;
};

}  // namespace hexmoor
