// The CPU panel's read-outs: registers, condition codes, PC, cycles and the last write.
#include <string>

#include "core/Hex.h"
#include "core/Machine.h"

namespace hexmoor {

namespace {

// "~L" (lime) before a set flag's letter, "~R" (red) before a clear one.
std::string CcrReadoutText(uint8_t ccr) {
    static constexpr char kLetters[] = "SXHINZVC";
    std::string text;
    for (int bit = 0; bit < 8; ++bit) {
        text += (ccr & (0x80 >> bit)) ? "~L" : "~R";
        text += kLetters[bit];
    }
    return text;
}

}  // namespace

std::string CycleText(int64_t cycles) {
    std::string text = std::to_string(cycles);
    if (text.size() < 15) text.insert(0, 15 - text.size(), ' ');
    return text;
}

void TMachine::DisplayRegisters() {
    const TPanelItem item = TPanelItem::Readouts;
    const uint8_t changed = uint8_t(ChangeMask >> 8);
    if (changed & 0x01) Change(Panel.RegisterADisplay.Text, Hex2(RegisterA), item);
    if (changed & 0x02) Change(Panel.RegisterBDisplay.Text, Hex2(RegisterB), item);
    if (changed & 0x04) Change(Panel.RegisterXDisplay.Text, Hex4(RegisterX), item);
    if (changed & 0x08) Change(Panel.RegisterYDisplay.Text, Hex4(RegisterY), item);
    if (changed & 0x10) Change(Panel.RegisterSPDisplay.Text, Hex4(RegisterSP), item);
    if (ChangeMask & 0x00FF) Change(Panel.RegisterCCRDisplay.Text, CcrReadoutText(PackedCcr()), item);
    ChangeMask &= 0xE000;
    Change(Panel.RegisterPCDisplay.Text, Hex4(RegisterPC), item);
    Change(Panel.CyclesValueLabel, CycleText(CycleCount), item);
}

void TMachine::DisplayAllRegisters() {
    ChangeMask |= 0x1FFF;
    DisplayRegisters();
}

// Lime shows the last write; red says the values shown are from an earlier one.
void TMachine::DisplayMemory() {
    const TPanelItem item = TPanelItem::Readouts;
    TReadout& address = Panel.MemoryAddressDisplay;
    TReadout& byte = Panel.MemoryByteDisplay;
    TReadout& word = Panel.MemoryWordDisplay;
    const bool wroteByte = ChangeMask & 0x2000, wroteWord = ChangeMask & 0x4000;
    if (wroteByte || wroteWord) {
        TReadout& shown = wroteByte ? byte : word;
        TReadout& hidden = wroteByte ? word : byte;
        Change(address.Colour, kLime, item);
        Change(address.Text, Hex4(EffectiveAddress), item);
        Change(shown.Colour, kLime, item);
        Change(shown.Visible, true, item);
        Change(shown.Text, wroteByte ? Hex2(DataByte) : Hex4(OperandWord), item);
        Change(hidden.Visible, false, item);
    } else {
        Change(address.Colour, kRed, item);
        Change((byte.Visible ? byte : word).Colour, kRed, item);
    }
    ChangeMask &= 0x9FFF;
}

}  // namespace hexmoor
