// Clicks on the input LEDs: pin levels, input captures and the pulse accumulator's input.
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

// PA0-PA3 capture TCNT into TIC3, TIC2, TIC1 and TI4O5; IC4 requests no interrupt.
struct TCapture {
    uint8_t Flag;
    uint16_t Request;
    uint8_t Register;
};
constexpr TCapture kCaptures[4] = {
    {0x01, IntIC3, TIC3},
    {0x02, IntIC2, TIC2},
    {0x04, IntIC1, TIC1},
    {0x08, 0, TI4O5},
};

}  // namespace

// The new level is seen at the next read of the port.
void TMachine::InputBitClick(TPortGroup group, int bit) {
    bool& lit = Panel.PortGroups[group].Leds[bit].Lit;
    Change(lit, !lit, TPanelItem::Ports);
}

void TMachine::InputCaptureClick(int bit) {
    InputBitClick(PortAInput, bit);
    const bool lit = Panel.PortGroups[PortAInput].Leds[bit].Lit;
    const uint8_t edges[4] = {Ic3Edge, Ic2Edge, Ic1Edge, Ic4Edge};
    const uint8_t edge = edges[bit];
    const bool captured = edge == 3 || (edge == 1 && lit) || (edge == 2 && !lit);
    if (!captured) return;
    const TCapture& capture = kCaptures[bit];
    RegisterBlock[TFLG1] |= capture.Flag;
    PendingInterrupts |= capture.Request;
    RegisterBlock[capture.Register] = RegisterBlock[TCNT];
    RegisterBlock[capture.Register + 1] = RegisterBlock[TCNT + 1];
}

// Event counting (modes 1 and 2) counts an edge; the time modes (3: while high, 4: while
// low) open and close the gate through which E/64 is counted.
void TMachine::PA7InputClick() {
    InputBitClick(PortAInput, 7);
    const bool lit = Panel.PortGroups[PortAInput].Leds[7].Lit;
    switch (PulseMode) {
    case 1:
        if (!lit) CountPulse();
        break;
    case 2:
        if (lit) CountPulse();
        break;
    case 3:
    case 4:
        if (lit == (PulseMode == 3)) {
            PulseDivider = 0;
            PulseGate = true;
        } else {
            PulseGate = false;
        }
        break;
    default:
        break;
    }
}

void TMachine::InputLedClick(TPortGroup group, int bit) {
    if (group == PortDInput && bit >= 6) return;  // placeholders for the missing pins
    if (group == PortAInput && bit <= 3)
        InputCaptureClick(bit);
    else if (group == PortAInput && bit == 7)
        PA7InputClick();
    else
        InputBitClick(group, bit);
    RecordInput(TInput::InputLed, group, bit);
}

}  // namespace hexmoor
