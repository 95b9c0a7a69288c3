// The 96 registers of the on-chip block: name (as every message shows it) and reset byte.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

struct TRegisterInfo {
    const char* Name;
    uint8_t Reset;  // the reset image byte
};

enum TRegisterOffset : uint8_t {
    PORTA = 0x00, DDRA = 0x01, PORTG = 0x02, DDRG = 0x03, PORTB = 0x04, PORTF = 0x05,
    PORTC = 0x06, DDRC = 0x07, PORTD = 0x08, DDRD = 0x09, PORTE = 0x0A, CFORC = 0x0B,
    OC1M = 0x0C, OC1D = 0x0D, TCNT = 0x0E, TIC1 = 0x10, TIC2 = 0x12, TIC3 = 0x14,
    TOC1 = 0x16, TOC2 = 0x18, TOC3 = 0x1A, TOC4 = 0x1C, TI4O5 = 0x1E, TCTL1 = 0x20,
    TCTL2 = 0x21, TMSK1 = 0x22, TFLG1 = 0x23, TMSK2 = 0x24, TFLG2 = 0x25, PACTL = 0x26,
    PACNT = 0x27, SPCR = 0x28, SPSR = 0x29, SPDR = 0x2A, BAUD = 0x2B, SCCR1 = 0x2C,
    SCCR2 = 0x2D, SCSR = 0x2E, SCDR = 0x2F, ADCTL = 0x30, ADR1 = 0x31, BPROT = 0x35,
    TerminalStatus = 0x36, TerminalData = 0x37, OPT2 = 0x38, OPTION = 0x39, COPRST = 0x3A,
    PPROG = 0x3B, HPRIO = 0x3C, INIT = 0x3D, TEST1 = 0x3E, CONFIG = 0x3F, PrinterData = 0x40,
    CSSTRH = 0x5C, CSCTL = 0x5D, CSGADR = 0x5E, CSGSIZ = 0x5F,
};

using TRegisterMap = std::array<TRegisterInfo, 96>;

consteval TRegisterMap MakeRegisterMap() {
    TRegisterMap map;
    map.fill({"", 0x00});  // $41-$5B: unassigned
    const TRegisterInfo assigned[] = {
        {"PORTA", 0x00}, {"DDRA", 0x00}, {"PORTG", 0x00}, {"DDRG", 0x00},
        {"PORTB", 0x00}, {"PORTF", 0x00}, {"PORTC", 0x00}, {"DDRC", 0x00},
        {"PORTD", 0x00}, {"DDRD", 0x00}, {"PORTE", 0x00}, {"CFORC", 0x00},
        {"OC1M", 0x00}, {"OC1D", 0x00}, {"TCNT", 0x00}, {"TCNT", 0x00},
        {"TIC1", 0x00}, {"TIC1", 0x00}, {"TIC2", 0x00}, {"TIC2", 0x00},
        {"TIC3", 0x00}, {"TIC3", 0xFF}, {"TOC1", 0xFF}, {"TOC1", 0xFF},
        {"TOC2", 0xFF}, {"TOC2", 0xFF}, {"TOC3", 0xFF}, {"TOC3", 0xFF},
        {"TOC4", 0xFF}, {"TOC4", 0xFF}, {"TI4O5", 0xFF}, {"TI4O5", 0x00},
        {"TCTL1", 0x00}, {"TCTL2", 0x00}, {"TMSK1", 0x00}, {"TFLG1", 0x00},
        {"TMSK2", 0x00}, {"TFLG2", 0x00}, {"PACTL", 0x00}, {"PACNT", 0x00},
        {"SPCR", 0x00}, {"SPSR", 0x00}, {"SPDR", 0x00}, {"BAUD", 0x00},
        {"SCCR1", 0x00}, {"SCCR2", 0xC0}, {"SCSR", 0x00}, {"SCDR", 0x1F},
        {"ADCTL", 0x00}, {"ADR1", 0x00}, {"ADR2", 0x00}, {"ADR3", 0x00},
        {"ADR4", 0x00}, {"BPROT", 0x00}, {"", 0x00}, {"", 0x00},  // terminal status, data
        {"OPT2", 0x20}, {"OPTION", 0x10}, {"COPRST", 0x00}, {"PPROG", 0x00},
        {"HPRIO", 0x00}, {"INIT", 0x25}, {"TEST1", 0x01}, {"CONFIG", 0x0F},
    };
    for (std::size_t offset = 0; offset < std::size(assigned); ++offset)
        map[offset] = assigned[offset];
    map[CSSTRH] = {"CSSTRH", 0x00};
    map[CSCTL] = {"CSCTL", 0x04};
    map[CSGADR] = {"CSGADR", 0x00};
    map[CSGSIZ] = {"CSGSIZ", 0x07};
    return map;
}

inline constexpr TRegisterMap kRegisterMap = MakeRegisterMap();

}  // namespace hexmoor
