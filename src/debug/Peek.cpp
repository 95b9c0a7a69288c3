#include "debug/Peek.h"

#include <utility>

#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

uint8_t PeekRegister(const TMachine& m, int offset) {
    switch (kRegisterMap[offset].Read) {
    case TReadRule::Stored:
    case TReadRule::WriteOnly:
    case TReadRule::NotImplemented:
    case TReadRule::Serial:
    case TReadRule::Sci: return m.RegisterBlock[offset];
    case TReadRule::Port:
        switch (offset) {
        case PORTA: return m.ComposePins(PortAInput, m.RegisterBlock[PORTA], m.RegisterBlock[DDRA], 8);
        case PORTC: return m.ComposePins(PortCInput, m.RegisterBlock[PORTC], m.RegisterBlock[DDRC], 8);
        case PORTD: return m.ComposePins(PortDInput, m.RegisterBlock[PORTD], m.RegisterBlock[DDRD], 6);
        default: return m.ComposePins(PortGInput, m.RegisterBlock[PORTG], m.RegisterBlock[DDRG], 8);
        }
    case TReadRule::PortE: return m.ComposePins(PortEInput, 0, 0x00, 8);
    case TReadRule::TerminalStatus: return m.InputBuffer.Empty() ? 0 : 1;
    case TReadRule::TerminalData: return m.InputBuffer.Empty() ? 0 : uint8_t(m.InputBuffer.Front());
    case TReadRule::Unassigned: return 0;
    }
    return 0;
}

}  // namespace

uint8_t PeekByte(const TMachine& m, uint16_t address) {
    if (m.InRegisterWindow(address)) return PeekRegister(m, address - m.IRegBeg);
    return m.BusByteAt(address);
}

uint16_t PeekWord(const TMachine& m, uint16_t address) {
    return uint16_t(PeekByte(m, address) << 8 | PeekByte(m, uint16_t(address + 1)));
}

void PokeByte(TMachine& m, uint16_t address, uint8_t value) {
    // Detached for the store alone, and attached again however the store ends.
    struct TDetached {
        TMachine& Machine;
        TDebugHooks* Debugger = std::exchange(Machine.Debugger, nullptr);
        ~TDetached() { Machine.Debugger = Debugger; }
    } detached{m};
    m.EffectiveAddress = address;
    m.DataByte = value;
    m.StoreByte();
}

}  // namespace hexmoor
