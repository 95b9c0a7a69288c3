// The parts of the machine record's memory access and panel state that are not per-access.
#include "core/Machine.h"

#include <array>

namespace hexmoor {

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

void TMachine::LoadRegisterForStore() {
    RegisterOffset = EffectiveAddress - IRegBeg;
    for (const TLatchRegister& latch : kLatchRegisters) {
        if (latch.Offset == RegisterOffset) {
            DataByte = RegisterBlock[latch.Offset];
            ReadRegInfo(latch.Text);
            return;
        }
    }
    ReadInternalRegByte();
}

void TMachine::SetHint(TControl& control, TPanelItem item, std::string_view hint) {
    SetCaption(control.Hint, item, hint);
}

void TMachine::SetCaption(std::string& caption, TPanelItem item, std::string_view text) {
    if (caption == text) return;
    caption = text;
    FrontPanel.PanelChanged(item);
}

void TMachine::SetIrqButtonHint() {
    SetHint(Panel.IrqButton, TPanelItem::IrqButton, FlagI ? kIrqDisabledHint : kIrqEnabledHint);
}

void TMachine::SetStatusLed(TColour litColour, std::string_view hint) {
    if (Panel.StatusLed.LitColour == litColour && Panel.StatusLed.Hint == hint) return;
    Panel.StatusLed.LitColour = litColour;
    Panel.StatusLed.Hint = hint;
    FrontPanel.PanelChanged(TPanelItem::StatusLed);
}

}  // namespace hexmoor
