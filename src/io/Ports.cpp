// Reading the ports' pins and showing their outputs on the LEDs.
#include "io/PortLatches.h"

#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

// Bits configured as output read back the latch, bits configured as input the input LEDs.
uint8_t TMachine::ComposePins(TPortGroup input, uint8_t latch, uint8_t ddr, int pins) const {
    uint8_t levels = 0;
    for (int bit = 0; bit < pins; ++bit)
        if (Panel.PortGroups[input].Leds[bit].Lit) levels |= uint8_t(1 << bit);
    return uint8_t((latch & ddr) | (levels & ~ddr));
}

// The pause (with I/O Operations checked) comes first, so the user can still set the
// input LEDs before the read takes them.
void TMachine::ReadPortA() {
    IoPause(PortAInput);
    PortAPins = ComposePins(PortAInput, RegisterBlock[PORTA], RegisterBlock[DDRA], 8);
}
void TMachine::ReadPortC() {
    IoPause(PortCInput);
    PortCPins = ComposePins(PortCInput, RegisterBlock[PORTC], RegisterBlock[DDRC], 8);
}
void TMachine::ReadPortD() {
    IoPause(PortDInput);
    PortDPins = ComposePins(PortDInput, RegisterBlock[PORTD], RegisterBlock[DDRD], 6);
}
void TMachine::ReadPortG() {
    IoPause(PortGInput);
    PortGPins = ComposePins(PortGInput, RegisterBlock[PORTG], RegisterBlock[DDRG], 8);
}
void TMachine::ReadPortE() {
    IoPause(PortEInput);
    RegisterBlock[PORTE] = ComposePins(PortEInput, 0, 0x00, 8);
}

namespace {

// An output LED is lit exactly when its latch bit is 1, whatever the pin's direction.
void ShowLatch(TMachine& m, TPortGroup output, uint8_t latch, int pins) {
    for (int bit = 0; bit < pins; ++bit)
        m.Change(m.Panel.PortGroups[output].Leds[bit].Lit, bool(latch & (1 << bit)), TPanelItem::Ports);
}

}  // namespace

// The program wrote the port: it is doing something, not waiting for a key.
void TMachine::UpdatePortOutput(TPortGroup output, uint8_t latch, int pins) {
    WaitLoop.Wrote();
    IoPause(output);
    ShowLatch(*this, output, latch, pins);
}

void ShowPortLatches(TMachine& m) {
    static constexpr struct {
        TPortGroup Output;
        uint8_t Latch;  // the register's offset
        int Pins;
    } kOutputs[] = {{PortAOutput, PORTA, 8}, {PortBOutput, PORTB, 8}, {PortCOutput, PORTC, 8},
                    {PortDOutput, PORTD, 6}, {PortFOutput, PORTF, 8}, {PortGOutput, PORTG, 8}};
    for (const auto& port : kOutputs) ShowLatch(m, port.Output, m.RegisterBlock[port.Latch], port.Pins);
}

void TMachine::UpdatePortAOutput() { UpdatePortOutput(PortAOutput, RegisterBlock[PORTA], 8); }
void TMachine::UpdatePortBOutput() { UpdatePortOutput(PortBOutput, RegisterBlock[PORTB], 8); }
void TMachine::UpdatePortCOutput() { UpdatePortOutput(PortCOutput, RegisterBlock[PORTC], 8); }
void TMachine::UpdatePortDOutput() { UpdatePortOutput(PortDOutput, RegisterBlock[PORTD], 6); }
void TMachine::UpdatePortFOutput() { UpdatePortOutput(PortFOutput, RegisterBlock[PORTF], 8); }
void TMachine::UpdatePortGOutput() { UpdatePortOutput(PortGOutput, RegisterBlock[PORTG], 8); }

namespace rules {
void UpdatePortAOutput(TMachine& m) { m.UpdatePortAOutput(); }
void UpdatePortADirection(TMachine& m) { m.UpdatePortADirection(); }
void UpdatePortBOutput(TMachine& m) { m.UpdatePortBOutput(); }
void UpdatePortCOutput(TMachine& m) { m.UpdatePortCOutput(); }
void UpdatePortCDirection(TMachine& m) { m.UpdatePortCDirection(); }
void UpdatePortDOutput(TMachine& m) { m.UpdatePortDOutput(); }
void UpdatePortDDirection(TMachine& m) { m.UpdatePortDDirection(); }
void UpdatePortFOutput(TMachine& m) { m.UpdatePortFOutput(); }
void UpdatePortGOutput(TMachine& m) { m.UpdatePortGOutput(); }
void UpdatePortGDirection(TMachine& m) { m.UpdatePortGDirection(); }
}  // namespace rules

}  // namespace hexmoor
