// The port LEDs' colours and hints: the configuration of the mode a reset sets up (the bus
// of the expanded modes, or the single-chip modes' plain ports) with the latches it
// reloads, and the direction refresh that follows the data-direction registers.
#include <string>

#include "core/Machine.h"
#include "io/PortLatches.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

std::string PinName(char port, int bit) { return std::string("P") + port + char('0' + bit); }

}  // namespace

void TMachine::SetPortConfiguration() {
    const TPanelItem item = TPanelItem::Ports;
    auto& groups = Panel.PortGroups;
    const bool bus = OperatingMode & 1;  // MDA: the expanded modes
    for (TPortGroup group : {PortBOutput, PortCOutput, PortCInput, PortFOutput})
        Change(groups[group].Colour, bus ? kNavy : kBlack, item);
    for (int bit = 0; bit < 8; ++bit) {
        TLed& a = groups[PortAOutput].Leds[bit];
        SetLed(a, kDimmedScheme, a.Hint, item);
        TLed& c = groups[PortCOutput].Leds[bit];
        SetLed(c, kDimmedScheme, c.Hint, item);
        for (char port : {'B', 'F'}) {
            TLed& led = groups[port == 'B' ? PortBOutput : PortFOutput].Leds[bit];
            Change(led.Hint, " " + PinName(port, bit) + " configured as Output " + (bus ? "\r    (Used as Bus) " : ""),
                   item);
        }
        Change(groups[PortEInput].Leds[bit].Hint,
               " " + PinName('E', bit) + " configured as Input \r    (No A/D in Progress)", item);
    }
    for (int bit = 0; bit < 6; ++bit) {
        TLed& d = groups[PortDOutput].Leds[bit];
        SetLed(d, kDimmedScheme, d.Hint, item);
    }
    for (int bit = 0; bit < 7; ++bit) {
        TLed& in = groups[PortGInput].Leds[bit];
        SetLed(in, kActiveScheme, in.Hint, item);
        TLed& out = groups[PortGOutput].Leds[bit];
        SetLed(out, kDimmedScheme, out.Hint, item);
    }
    if (bus)
        for (TPortGroup group : {PortGInput, PortGOutput})
            SetLed(groups[group].Leds[7], kSpecialScheme, " PG7 is currently used as CSPRG ", item);
    // The reset has just reloaded the latches.
    ShowPortLatches(*this);
}

// The LED of the group that carries a pin now is active, the other one dimmed; both carry
// the pin's role as their hint.
void TMachine::UpdatePinDirections(TPortGroup input, TPortGroup output, char port, uint8_t ddr,
                                   int pins) {
    for (int bit = 0; bit < pins; ++bit) {
        const bool isOutput = ddr & (1 << bit);
        const std::string hint =
            " " + PinName(port, bit) + " configured as " + (isOutput ? "Output " : "Input ");
        SetLed(Panel.PortGroups[output].Leds[bit], isOutput ? kActiveScheme : kDimmedScheme, hint,
               TPanelItem::Ports);
        SetLed(Panel.PortGroups[input].Leds[bit], isOutput ? kDimmedScheme : kActiveScheme, hint,
               TPanelItem::Ports);
    }
}

// Output compare 4 takes PA4 over, whatever DDRA says.
void TMachine::UpdatePortADirection() {
    UpdatePinDirections(PortAInput, PortAOutput, 'A', RegisterBlock[DDRA], 8);
    if (Oc4Action == 0) return;
    const char* hint = " PA4 configured as Output Compare ";
    TLed& output = Panel.PortGroups[PortAOutput].Leds[4];
    SetLed(output, kSpecialScheme, hint, TPanelItem::Ports);
    Change(output.Lit, true, TPanelItem::Ports);
    SetLed(Panel.PortGroups[PortAInput].Leds[4], kDimmedScheme, hint, TPanelItem::Ports);
}

void TMachine::UpdatePortCDirection() {
    UpdatePinDirections(PortCInput, PortCOutput, 'C', RegisterBlock[DDRC], 8);
}

void TMachine::UpdatePortDDirection() {
    UpdatePinDirections(PortDInput, PortDOutput, 'D', RegisterBlock[DDRD], 6);
}

// PG4-PG7 serve the chip selects while those are enabled.
void TMachine::UpdatePortGDirection() {
    UpdatePinDirections(PortGInput, PortGOutput, 'G', RegisterBlock[DDRG], 8);
    const struct {
        bool enabled;
        const char* hint;
    } chipSelects[] = {
        {CsIo2Enabled, " PG4 currently used as CSIO2 "},
        {CsIo1Enabled, " PG5 currently used as CSIO1 "},
        {CsGenEnabled, " PG6 currently used as CSGEN "},
        {CsPrgEnabled, " PG7 currently used as CSPRG "},
    };
    for (int bit = 4; bit < 8; ++bit) {
        if (!chipSelects[bit - 4].enabled) continue;
        for (TPortGroup group : {PortGInput, PortGOutput})
            SetLed(Panel.PortGroups[group].Leds[bit], kSpecialScheme, chipSelects[bit - 4].hint,
                   TPanelItem::Ports);
    }
}

}  // namespace hexmoor
