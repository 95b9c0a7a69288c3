// Creating the machine record, and the panel-state helpers every subsystem uses.
#include "core/Machine.h"

namespace hexmoor {

TMachine::TMachine(TFrontPanel& frontPanel) : FrontPanel(frontPanel) {
    Screen.LineBreak = TLineBreak::CR;
    LoadRegisterResetImage();
    // Port D has six pins; its groups show two dark placeholders for bits 7 and 6.
    for (TPortGroup group : {PortDInput, PortDOutput})
        for (int bit : {6, 7})
            Panel.PortGroups[group].Leds[bit] = {{false, ""}, false, kWhite, kBlack};
}

void TMachine::SetLed(TLed& led, TLedScheme scheme, std::string_view hint, TPanelItem item) {
    if (led.UnlitColour == scheme.Unlit && led.LitColour == scheme.Lit && led.Hint == hint)
        return;
    led.UnlitColour = scheme.Unlit;
    led.LitColour = scheme.Lit;
    led.Hint = hint;
    FrontPanel.PanelChanged(item);
}

void TMachine::SetIrqButtonHint() {
    Change(Panel.IrqButton.Hint, FlagI ? kIrqDisabledHint : kIrqEnabledHint,
           TPanelItem::InterruptButtons);
}

void TMachine::SetStatusLed(TColour litColour, std::string_view hint) {
    Change(Panel.StatusLed.LitColour, litColour, TPanelItem::StatusLed);
    Change(Panel.StatusLed.Hint, hint, TPanelItem::StatusLed);
}

}  // namespace hexmoor
