// The write rules of the timer, interrupt, A/D, COP and protected registers.
#include <array>

#include "core/Hex.h"
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor::rules {

namespace {

// The protected registers accept their one write while CycleCount < 64, and every write in
// the special modes.
bool WithinFirst64Cycles(const TMachine& m) { return m.CycleCount < 64 || m.SpecialMode(); }
bool FirstWrite(const TMachine& m, bool latch) { return latch || m.SpecialMode(); }

// COP timeout in blocks of 32768 cycles, by OPTION CR1:CR0.
constexpr std::array<int32_t, 4> kCopBlocks{1, 4, 16, 64};

void Store(TMachine& m) { m.RegisterBlock[m.RegisterOffset] = m.RegisterWriteByte; }

void InfoAndStore(TMachine& m, std::string_view name) {
    m.WriteRegInfo(name);
    Store(m);
}

void RestartCop(TMachine& m) {
    m.CopCycles = 32768;
    m.CopBlocks = kCopBlocks[m.RegisterBlock[OPTION] & 0x03];
}

}  // namespace

// Each of PA7-PA3 that OC1M selects is driven to its OC1D level at an OC1 match.
void WriteOc1(TMachine& m) {
    Store(m);
    m.WriteRegInfo(kRegisterMap[m.RegisterOffset].Name);
    const uint8_t mask = m.RegisterBlock[OC1M], data = m.RegisterBlock[OC1D];
    for (int i = 0; i < 5; ++i) {
        const uint8_t bit = uint8_t(0x80 >> i);
        m.Oc1Action[i] = !(mask & bit) ? 0 : (data & bit) ? 3 : 2;
    }
    m.UpdatePortADirection();
}

void WriteTi4o5(TMachine& m) {
    const std::string name = m.RegisterOffset == TI4O5 ? "TI4O5 (First Byte)" : "TI4O5 (Second Byte)";
    if (m.RegisterBlock[PACTL] & 0x04) {
        m.WriteRegWarning(name + " (IC4 Function Enabled)");
        return;
    }
    InfoAndStore(m, name);
}

void WriteTctl1(TMachine& m) {
    InfoAndStore(m, "TCTL1");
    const uint8_t byte = m.RegisterWriteByte;
    m.Oc2Action = byte >> 6 & 3;
    m.Oc3Action = byte >> 4 & 3;
    m.Oc4Action = byte >> 2 & 3;
    m.UpdatePortADirection();
}

void WriteTctl2(TMachine& m) {
    InfoAndStore(m, "TCTL2");
    const uint8_t byte = m.RegisterWriteByte;
    m.Ic4Edge = byte >> 6 & 3;
    m.Ic1Edge = byte >> 4 & 3;
    m.Ic2Edge = byte >> 2 & 3;
    m.Ic3Edge = byte & 3;
}

void WriteTmsk1(TMachine& m) {
    InfoAndStore(m, "TMSK1");
    m.EnabledInterrupts = uint16_t((m.EnabledInterrupts & 0xFF00) | m.RegisterWriteByte);
}

// Writing 1s clears flags and their requests; 0s leave them.
void WriteTflg1(TMachine& m) {
    m.WriteRegInfo("TFLG1");
    m.RegisterBlock[TFLG1] &= uint8_t(~m.RegisterWriteByte);
    m.PendingInterrupts &= uint16_t(~m.RegisterWriteByte);
}

void WriteTflg2(TMachine& m) {
    m.WriteRegInfo("TFLG2");
    m.RegisterBlock[TFLG2] &= uint8_t(~m.RegisterWriteByte);
    m.PendingInterrupts =
        uint16_t((m.PendingInterrupts & ~0x0F00) | (m.RegisterBlock[TFLG2] & 0xF0) << 4);
}

// The prescaler (PR1:PR0) is set once, within 64 cycles; the interrupt enables always.
void WriteTmsk2(TMachine& m) {
    static constexpr uint16_t kShift[] = {0, 2, 3, 4}, kMask[] = {0, 3, 7, 15};
    const uint8_t byte = m.RegisterWriteByte;
    uint8_t& tmsk2 = m.RegisterBlock[TMSK2];
    if (FirstWrite(m, m.FirstTmsk2Write)) {
        m.FirstTmsk2Write = false;
        if (!WithinFirst64Cycles(m)) {
            m.WriteRegWarning("TMSK2 after 64 cycles");
        } else {
            m.WriteRegInfo("TMSK2 within 64 cycles");
            tmsk2 = uint8_t((tmsk2 & 0xF0) | (byte & 0x03));
            m.PrescalerShift = kShift[byte & 3];
            m.PrescalerMask = kMask[byte & 3];
        }
    } else {
        m.WriteRegWarning("TMSK2 (multiple write)");
    }
    tmsk2 = uint8_t((tmsk2 & 0x03) | (byte & 0xF0));
    m.EnabledInterrupts = uint16_t((m.EnabledInterrupts & ~0x0F00) | (byte & 0xF0) << 4);
}

// The gate of the pulse accumulator's time modes (3: while PA7 is high, 4: while low)
// follows PA7 from the moment such a mode is chosen, and closes in any other mode.
void WritePactl(TMachine& m) {
    static constexpr int32_t kRtiRates[] = {1, 2, 4, 8};
    const uint8_t byte = m.RegisterWriteByte;
    m.RtiRate = kRtiRates[byte & 3];
    m.PulseMode = (byte & 0x40) ? uint8_t(1 + 2 * (byte >> 5 & 1) + (byte >> 4 & 1)) : 0;
    const bool pa7 = m.Panel.PortGroups[PortAInput].Leds[7].Lit;
    const bool open = (m.PulseMode == 3 && pa7) || (m.PulseMode == 4 && !pa7);
    if (open && !m.PulseGate) m.PulseDivider = 0;
    m.PulseGate = open;
    InfoAndStore(m, "PACTL");
}

void WriteSpcr(TMachine& m) {
    InfoAndStore(m, "SPCR (SPI not implemented)");
    m.EnabledInterrupts = uint16_t((m.EnabledInterrupts & ~IntSPI) |
                                   ((m.RegisterWriteByte & 0x80) ? IntSPI : 0));
}

// A write starts a sequence of four conversions, the first due in 32 cycles.
void WriteAdctl(TMachine& m) {
    if (!(m.RegisterBlock[OPTION] & 0x80))
        m.WriteRegWarning("ADCTL (not Powered Up)");
    else if (m.AdStabilizeBlocks != 0)
        m.WriteRegWarning("ADCTL (not Stabilized)");
    else
        m.WriteRegInfo("ADCTL");
    const uint8_t byte = m.RegisterWriteByte;
    Store(m);
    m.AdChannel = (byte & 0x10) ? byte & 0x0C : byte & 0x0F;
    m.AdResultIndex = 0;
    m.AdConversionDelay = 32;
}

// After 64 cycles EEPROM protection can be set but not cleared.
void WriteBprot(TMachine& m) {
    if (!WithinFirst64Cycles(m)) {
        const uint8_t cleared = uint8_t(~m.RegisterWriteByte & m.RegisterBlock[BPROT]);
        if (cleared) {
            m.WriteRegWarning("BPROT (Trying to unprotect EE after 64 cycles)");
            m.RegisterWriteByte |= cleared;
        }
    }
    Store(m);
    m.WriteRegInfo("BPROT (Protection not Implemented)");
}

void WriteConsoleData(TMachine& m) { m.ConsoleOutput(); }

void WritePrinterData(TMachine& m) { m.PrinterOutput(); }

// CLK4X (bit 5) once; GWOM and CWOM (bits 7-6) always.
void WriteOpt2(TMachine& m) {
    uint8_t& byte = m.RegisterWriteByte;
    if (FirstWrite(m, m.FirstOpt2Write)) {
        m.FirstOpt2Write = false;
        byte &= 0xE0;
    } else {
        byte = uint8_t((byte & 0xC0) | (m.RegisterBlock[OPT2] & 0x20));
    }
    InfoAndStore(m, "OPT2");
}

// ADPU, CSEL and CME always; IRQE, DLY, FCME and the COP rate only by the first write
// within 64 cycles.
void WriteOption(TMachine& m) {
    uint8_t& byte = m.RegisterWriteByte;
    uint8_t& option = m.RegisterBlock[OPTION];
    if (FirstWrite(m, m.FirstOptionWrite)) {
        m.FirstOptionWrite = false;
        if (!WithinFirst64Cycles(m)) {
            m.WriteRegWarning("OPTION after 64 cycles");
            byte &= 0xC8;
        } else {
            option = byte;
            m.WriteRegInfo("OPTION within 64 cycles");
            RestartCop(m);
        }
    } else {
        m.WriteRegWarning("OPTION (multiple write)");
        byte &= 0xC8;
    }
    if (byte & 0x80) {  // powering up restarts the converter's stabilisation delay
        m.AdStabilizeCycles = 100;
        m.AdStabilizeBlocks = 10;
    }
    option = uint8_t((option & 0x37) | byte);
}

// $55 arms, $AA then restarts the watchdog; anything else disarms. The byte reads back
// the arming state.
void WriteCoprst(TMachine& m) {
    m.WriteRegInfo("COPRST");
    uint8_t& coprst = m.RegisterBlock[COPRST];
    const uint8_t byte = m.RegisterWriteByte;
    if (byte == 0x55) {
        coprst = 0xAA;
        return;
    }
    if (byte == 0xAA && coprst == 0xAA) RestartCop(m);
    coprst = 0x55;
}

// PSEL (bits 3-0) changes only while I is set, so that an interrupt cannot be promoted
// behind the program's back. In the normal modes RBOOT, SMOD and MDA never change and IRV
// only by the first write; in the special modes all four change, SMOD only to 0, and the
// mode they give takes effect at once.
void WriteHprio(TMachine& m) {
    uint8_t& hprio = m.RegisterBlock[HPRIO];
    const bool first = m.FirstHprioWrite;
    m.FirstHprioWrite = false;
    uint8_t writable = m.FlagI ? 0x0F : 0x00;
    if (m.SpecialMode()) writable |= 0xF0;
    else if (first) writable |= 0x10;
    const uint8_t before = hprio;
    m.RegisterWriteByte = uint8_t((hprio & ~writable) | (m.RegisterWriteByte & writable));
    Store(m);
    m.WriteRegInfo("HPRIO");
    if ((before ^ hprio) & 0xE0) m.ApplyModeBits();
}

void WriteConfig(TMachine& m) {
    m.RegisterWriteByte |= 0x0A;
    m.WriteRegWarning("CONFIG (not Allowed)");
}

}  // namespace hexmoor::rules
