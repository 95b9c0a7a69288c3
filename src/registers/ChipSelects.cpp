// INIT's relocation and the chip selects: memory-map ranges and the port G pins they take.
#include <string>

#include "core/Hex.h"
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

void ShowRange(TMachine& m, TRangeLabels& labels, bool enabled, int32_t begin, int32_t end) {
    m.Change(labels.Begin, enabled ? Hex4(uint16_t(begin)) : "", TPanelItem::MemoryMap);
    m.Change(labels.End, enabled ? Hex4(uint16_t(end)) : "", TPanelItem::MemoryMap);
}

}  // namespace

// A pin taken by its chip select shows yellow and aqua on both LEDs; a released pin goes
// back to the colours its DDRG bit gives. Hints change only at the next DDRG write.
void TMachine::PaintChipSelectPin(int bit, bool taken) {
    TLed& output = Panel.PortGroups[PortGOutput].Leds[bit];
    TLed& input = Panel.PortGroups[PortGInput].Leds[bit];
    const bool isOutput = RegisterBlock[DDRG] & (1 << bit);
    SetLed(output, taken ? kSpecialScheme : isOutput ? kActiveScheme : kDimmedScheme, output.Hint,
           TPanelItem::Ports);
    SetLed(input, taken ? kSpecialScheme : isOutput ? kDimmedScheme : kActiveScheme, input.Hint,
           TPanelItem::Ports);
}

namespace rules {

void WriteInit(TMachine& m) {
    if (!m.FirstInitWrite && !m.SpecialMode()) {
        m.WriteRegWarning("INIT (multiple write)");
        return;
    }
    m.FirstInitWrite = false;
    if (m.CycleCount >= 64 && !m.SpecialMode()) {
        m.WriteRegWarning("INIT after 64 cycles");
        return;
    }
    m.WriteRegInfo("INIT within 64 cycles");
    const uint8_t byte = m.RegisterWriteByte;
    m.RegisterBlock[INIT] = byte;
    m.RelocateWindows((byte & 0x0F) * 0x1000, (byte >> 4) * 0x1000);
}

// Program chip select on PG7, IO1 on PG5 and IO2 on PG4; IO1 and IO2 sit just above the
// register block wherever it is now.
void WriteCsctl(TMachine& m) {
    static constexpr int32_t kProgramBegin[] = {0x0000, 0x8000, 0xC000, 0xE000};
    m.WriteRegInfo("CSCTL");
    const uint8_t byte = m.RegisterWriteByte;
    m.RegisterBlock[CSCTL] = byte;

    // A chip select enabled takes its range and its pin; disabled, it keeps the range
    // but shows none and gives the pin back.
    auto select = [&m](bool enabled, bool& flag, int32_t& begin, int32_t& end, int32_t newBegin,
                       int32_t newEnd, TRangeLabels& labels, int pin) {
        flag = enabled;
        if (enabled) {
            begin = newBegin;
            end = newEnd;
        }
        ShowRange(m, labels, enabled, begin, end);
        m.PaintChipSelectPin(pin, enabled);
    };
    select(byte & 0x04, m.CsPrgEnabled, m.EProgBeg, m.EProgEnd, kProgramBegin[byte & 3], 0xFFFF,
           m.Panel.EProgLabels, 7);
    select(byte & 0x80, m.CsIo1Enabled, m.EIo1Beg, m.EIo1End, m.IRegBeg + 0x60, m.IRegBeg + 0x7FF,
           m.Panel.EIo1Labels, 5);
    select(byte & 0x20, m.CsIo2Enabled, m.EIo2Beg, m.EIo2End, m.IRegBeg + 0x800, m.IRegBeg + 0xFFF,
           m.Panel.EIo2Labels, 4);
}

// CSGADR gives the base and CSGSIZ the size (64 KB down to 1 KB, or disabled) of the
// general-purpose chip select on PG6.
void WriteGeneralChipSelect(TMachine& m) {
    m.WriteRegInfo(kRegisterMap[m.RegisterOffset].Name);
    m.RegisterBlock[m.RegisterOffset] = m.RegisterWriteByte;
    const int size = m.RegisterBlock[CSGSIZ] & 7;
    m.CsGenEnabled = size != 7;
    if (size == 0) {
        m.EGenBeg = 0x0000;
        m.EGenEnd = 0xFFFF;
    } else if (m.CsGenEnabled) {
        const int32_t span = 0x10000 >> size;  // 32 KB for size 1 ... 1 KB for size 6
        m.EGenBeg = (m.RegisterBlock[CSGADR] << 8) & ~(span - 1) & 0xFFFF;
        m.EGenEnd = m.EGenBeg + span - 1;
    }
    ShowRange(m, m.Panel.EGenLabels, m.CsGenEnabled, m.EGenBeg, m.EGenEnd);
    m.PaintChipSelectPin(6, m.CsGenEnabled);
}

}  // namespace rules
}  // namespace hexmoor
