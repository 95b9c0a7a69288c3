// Creating the machine record, and the panel-state helpers every subsystem uses.
#include "core/Machine.h"

#include <array>

#include "registers/RegisterMap.h"

namespace hexmoor {

TMachine::TMachine(TFrontPanel& frontPanel) : FrontPanel(frontPanel) {
    Screen.LineBreak = TLineBreak::CR;
    for (std::size_t offset = 0; offset < RegisterBlock.size(); ++offset)
        RegisterBlock[offset] = kRegisterMap[offset].Reset;
    // Port D has six pins; its groups show two dark placeholders for bits 7 and 6.
    for (TPortGroup group : {PortDInput, PortDOutput})
        for (int bit : {6, 7})
            Panel.PortGroups[group].Leds[bit] = {{false, ""}, false, kWhite, kBlack};
}

namespace {

// The read half of a read-modify-write takes these registers' output latches straight from
// the block, without the pin reads and side effects of a normal read.
struct TLatchRegister {
    uint8_t Offset;
    const char* Text;
};
constexpr std::array<TLatchRegister, 8> kLatchRegisters{{
    {0x00, "PORTA (Load-Store)"},
    {0x02, "PORTG (Load-Store)"},
    {0x06, "PORTC (Load-Store)"},
    {0x08, "PORTD (Load-Store)"},
    {0x1E, "TI4O5 - First Byte (Load-Store)"},
    {0x1F, "TI4O5 - Second Byte (Load-Store)"},
    {0x2A, "SPDR (Load-Store)"},
    {0x2F, "SCDR (Load-Store)"},
}};

}  // namespace

uint8_t TMachine::ReadRegisterForStore(uint16_t address) {
    SettleSpan();
    RegisterOffset = address - IRegBeg;
    for (const TLatchRegister& latch : kLatchRegisters) {
        if (latch.Offset == RegisterOffset) {
            DataByte = RegisterBlock[latch.Offset];
            ReadRegInfo(latch.Text);  // its message names DataByte
            return DataByte;
        }
    }
    ReadInternalRegByte();
    return DataByte;
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
