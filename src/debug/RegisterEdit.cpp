#include "debug/RegisterEdit.h"

#include <array>

#include "core/Hex.h"
#include "core/Machine.h"

namespace hexmoor {

namespace {

constexpr std::array<TEditableRegister, 7> kRegisterNames{{
    {TCpuRegister::A, "A", 0xFF},
    {TCpuRegister::B, "B", 0xFF},
    {TCpuRegister::X, "IX", 0xFFFF},
    {TCpuRegister::Y, "IY", 0xFFFF},
    {TCpuRegister::SP, "SP", 0xFFFF},
    {TCpuRegister::PC, "PC", 0xFFFF},
    {TCpuRegister::CCR, "CCR", 0xFF},
}};

}  // namespace

std::optional<TEditableRegister> RegisterNamed(std::string_view caption) {
    for (const TEditableRegister& name : kRegisterNames)
        if (caption == name.Name) return name;
    return std::nullopt;
}

uint16_t RegisterValue(const TMachine& m, TCpuRegister which) {
    switch (which) {
    case TCpuRegister::A: return m.RegisterA;
    case TCpuRegister::B: return m.RegisterB;
    case TCpuRegister::X: return m.RegisterX;
    case TCpuRegister::Y: return m.RegisterY;
    case TCpuRegister::SP: return m.RegisterSP;
    case TCpuRegister::PC: return m.RegisterPC;
    case TCpuRegister::CCR: return m.PackedCcr();
    }
    return 0;
}

std::string SetRegister(TMachine& m, const TEditableRegister& which, uint32_t value) {
    if (value > which.Largest)
        return std::string(which.Name) + " holds at most $" + (which.Largest == 0xFF ? Hex2(uint8_t(which.Largest)) : Hex4(which.Largest));
    switch (which.Register) {
    case TCpuRegister::A: m.RegisterA = uint8_t(value); break;
    case TCpuRegister::B: m.RegisterB = uint8_t(value); break;
    case TCpuRegister::X: m.RegisterX = uint16_t(value); break;
    case TCpuRegister::Y: m.RegisterY = uint16_t(value); break;
    case TCpuRegister::SP:
        m.RegisterSP = uint16_t(value);
        m.CallStack.Unwind(m.RegisterSP);  // a raised SP has left the frames below it
        break;
    case TCpuRegister::PC: m.RegisterPC = uint16_t(value); break;
    case TCpuRegister::CCR:
        m.FlagX = value & 0x40;  // set as typed, which UnpackCcr would not
        m.UnpackCcr(uint8_t(value));
        break;
    }
    m.ShowEditedRegisters();
    return {};
}

}  // namespace hexmoor
