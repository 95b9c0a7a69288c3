// Register block reads and writes, dispatched from the register table.
#include <array>
#include <string>

#include "core/Hex.h"
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

// "TCNT (First Byte)" for the high byte of a 16-bit register, plain names otherwise.
std::string DisplayName(int offset) {
    const TRegisterInfo& info = kRegisterMap[offset];
    if (!info.WordHalf) return info.Name;
    return std::string(info.Name) + (offset % 2 == 0 ? " (First Byte)" : " (Second Byte)");
}

std::string WriteText(int offset) {
    const char* text = kRegisterMap[offset].WriteText;
    return text ? text : DisplayName(offset);
}

// The read half of a read-modify-write takes these registers' output latches straight from
// the block, without the pin reads and side effects of a normal read.
struct TLatchRegister {
    uint8_t Offset;
    const char* Text;
};
constexpr std::array<TLatchRegister, 8> kLatchRegisters{{
    {PORTA, "PORTA (Load-Store)"},
    {PORTG, "PORTG (Load-Store)"},
    {PORTC, "PORTC (Load-Store)"},
    {PORTD, "PORTD (Load-Store)"},
    {TI4O5, "TI4O5 - First Byte (Load-Store)"},
    {TI4O5 + 1, "TI4O5 - Second Byte (Load-Store)"},
    {SPDR, "SPDR (Load-Store)"},
    {SCDR, "SCDR (Load-Store)"},
}};

}  // namespace

// The program reaches the register window: a span settles the time it owes first, so the
// program sees the counters and flags of that moment.
uint8_t TMachine::ReadRegisterAt(int32_t address) {
    SettleSpan();
    RegisterOffset = address - IRegBeg;
    ReadInternalRegByte();
    return DataByte;
}

void TMachine::WriteRegisterAt(int32_t address, uint8_t byte) {
    SettleSpan();
    RegisterOffset = address - IRegBeg;
    RegisterWriteByte = byte;
    WriteInternalRegByte();
}

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

void TMachine::WriteInternalRegByte() {
    const int offset = RegisterOffset;
    const TRegisterInfo& info = kRegisterMap[offset];
    RegisterWriteByte &= info.Mask;
    switch (info.Write) {
    case TWriteRule::Store:
        if (Panel.InternalRegistersMenu.Checked) WriteRegInfo(WriteText(offset));
        RegisterBlock[offset] = RegisterWriteByte;
        if (info.Rule) info.Rule(*this);
        break;
    case TWriteRule::ReadOnly:
        if (Panel.InternalRegistersMenu.Checked || Panel.WarningsMenu.Checked)
            WriteRegWarning(info.WriteText ? info.WriteText : DisplayName(offset) + " (Read Only)");
        break;
    case TWriteRule::InfoOnly:
        WriteRegInfo(info.WriteText);
        break;
    case TWriteRule::Special:
        info.Rule(*this);
        break;
    case TWriteRule::Unassigned:
        if (Panel.InternalRegistersMenu.Checked || Panel.WarningsMenu.Checked)
            RegisterWarning("Writing $" + Hex2(RegisterWriteByte) + " to $" + Hex2(uint8_t(offset)));
        break;
    }
}

void TMachine::ReadInternalRegByte() {
    const int offset = RegisterOffset;
    const TRegisterInfo& info = kRegisterMap[offset];
    const bool wanted = Panel.InternalRegistersMenu.Checked;
    switch (info.Read) {
    case TReadRule::Stored:
        DataByte = RegisterBlock[offset];
        if (wanted) ReadRegInfo(DisplayName(offset));
        break;
    case TReadRule::WriteOnly:
        DataByte = RegisterBlock[offset];
        ReadRegWarning(std::string(info.Name) + " (Write Only Register)");
        break;
    case TReadRule::Port:
        switch (offset) {
        case PORTA: ReadPortA(); DataByte = PortAPins; break;
        case PORTC: ReadPortC(); DataByte = PortCPins; break;
        case PORTD: ReadPortD(); DataByte = PortDPins; break;
        default: ReadPortG(); DataByte = PortGPins; break;
        }
        if (wanted) ReadRegInfo(info.Name);
        break;
    case TReadRule::PortE:
        ReadPortE();
        DataByte = RegisterBlock[offset];
        if (AdConversionDelay != 0)
            ReadRegWarning("PORTE (A/D Conversion in progress)");
        else
            ReadRegInfo("PORTE");
        break;
    case TReadRule::NotImplemented:
        if (wanted) ReadRegInfo(DisplayName(offset) + " not Implemented");
        break;
    case TReadRule::Serial:
        DataByte = RegisterBlock[offset];
        if (wanted) ReadRegInfo(std::string(info.Name) + " not Implemented");
        break;
    case TReadRule::Sci:
        if (offset == SCSR) ReadScsr();
        else ReadScdr();
        if (wanted) ReadRegInfo(info.Name);
        break;
    case TReadRule::TerminalStatus:
        ConsoleStatus();
        break;
    case TReadRule::TerminalData:
        ConsoleInput();
        break;
    case TReadRule::Unassigned:
        if (Panel.WarningsMenu.Checked)
            Warning("Reading from Register $" + Hex2(uint8_t(offset)));
        DataByte = 0;
        break;
    }
}

}  // namespace hexmoor
