// The 96 registers of the on-chip block as one table: name (as every message shows it),
// reset byte, what a read and a write of each do, and the bits a write can set. Rules
// too particular for a class are small named functions.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Hex.h"

namespace hexmoor {

class TMachine;
using TRegisterRule = void (*)(TMachine&);

// What a program's read of each register does. A debugger's peek (src/debug/Peek.cpp)
// shows the same byte with none of the effects: no message, no I/O pause, no input taken.
enum class TReadRule : uint8_t {
    Stored,          // the block byte, with an information message; peeked as stored (the
                     // timer counter and the A/D results are kept current in the block)
    WriteOnly,       // the block byte, with a warning that the register is write-only
    Port,            // the pins composed from latch, direction and input LEDs; peeked composed
    PortE,           // the input LEDs, stored into PORTE first; peeked composed, stored nowhere
    NotImplemented,  // DataByte left as it was; peeked as the block byte
    Serial,          // SPI registers: the block byte, "not Implemented"
    Sci,             // SCSR and SCDR: the flags and the received byte, reads that take part
                     // in clearing the flags; peeked as stored
    TerminalStatus,  // 1 while input waits; peeked so, without feeding a line of an input file
    TerminalData,    // the next input byte, taken; peeked without taking it (0 when none)
    Unassigned,      // reads 0
};

enum class TWriteRule : uint8_t {
    Store,      // information message, store, then the register's rule if it has one
    ReadOnly,   // warning, nothing stored
    InfoOnly,   // information message, nothing stored
    Special,    // the register's rule does everything
    Unassigned, // warning naming the offset, nothing stored
};

struct TRegisterInfo {
    const char* Name = "";
    uint8_t Reset = 0x00;  // the reset image byte
    bool WordHalf = false;  // high (even offset) or low byte of a 16-bit register
    TReadRule Read = TReadRule::Unassigned;
    TWriteRule Write = TWriteRule::Unassigned;
    uint8_t Mask = 0xFF;              // ANDed into a written byte before anything else
    const char* WriteText = nullptr;  // the write message's text where it is not the name
    TRegisterRule Rule = nullptr;
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

// The registers' own rules (registers/*.cpp, io/*.cpp).
namespace rules {
void UpdatePortAOutput(TMachine&);
void UpdatePortADirection(TMachine&);
void UpdatePortBOutput(TMachine&);
void UpdatePortCOutput(TMachine&);
void UpdatePortCDirection(TMachine&);
void UpdatePortDOutput(TMachine&);
void UpdatePortDDirection(TMachine&);
void UpdatePortFOutput(TMachine&);
void UpdatePortGOutput(TMachine&);
void UpdatePortGDirection(TMachine&);
void WriteOc1(TMachine&);
void WriteTi4o5(TMachine&);
void WriteTctl1(TMachine&);
void WriteTctl2(TMachine&);
void WriteTmsk1(TMachine&);
void WriteTflg1(TMachine&);
void WriteTmsk2(TMachine&);
void WriteTflg2(TMachine&);
void WritePactl(TMachine&);
void WriteSpcr(TMachine&);
void WriteSciRate(TMachine&);
void WriteSccr1(TMachine&);
void WriteSccr2(TMachine&);
void WriteScdr(TMachine&);
void WriteAdctl(TMachine&);
void WriteBprot(TMachine&);
void WriteConsoleData(TMachine&);
void WriteOpt2(TMachine&);
void WriteOption(TMachine&);
void WriteCoprst(TMachine&);
void WriteHprio(TMachine&);
void WriteInit(TMachine&);
void WriteConfig(TMachine&);
void WritePrinterData(TMachine&);
void WriteCsctl(TMachine&);
void WriteGeneralChipSelect(TMachine&);
}  // namespace rules

using TRegisterMap = std::array<TRegisterInfo, 96>;

consteval TRegisterMap MakeRegisterMap() {
    using R = TReadRule;
    using W = TWriteRule;
    namespace r = rules;
    TRegisterMap map{};
    for (TRegisterInfo& info : map) info = TRegisterInfo{};  // $41-$5B: unassigned
    auto word = [&](uint8_t offset, const char* name, uint8_t high, uint8_t low, R read, W write,
                    TRegisterRule rule = nullptr) {
        map[offset] = {name, high, true, read, write, 0xFF, nullptr, rule};
        map[offset + 1] = {name, low, true, read, write, 0xFF, nullptr, rule};
    };
    map[PORTA] = {"PORTA", 0x00, false, R::Port, W::Store, 0xFF, nullptr, r::UpdatePortAOutput};
    map[DDRA] = {"DDRA", 0x00, false, R::Stored, W::Store, 0xFF, nullptr, r::UpdatePortADirection};
    map[PORTG] = {"PORTG", 0x00, false, R::Port, W::Store, 0xFF, nullptr, r::UpdatePortGOutput};
    map[DDRG] = {"DDRG", 0x00, false, R::Stored, W::Store, 0xFF, nullptr, r::UpdatePortGDirection};
    map[PORTB] = {"PORTB", 0x00, false, R::Stored, W::Store, 0xFF, nullptr, r::UpdatePortBOutput};
    map[PORTF] = {"PORTF", 0x00, false, R::Stored, W::Store, 0xFF, nullptr, r::UpdatePortFOutput};
    map[PORTC] = {"PORTC", 0x00, false, R::Port, W::Store, 0xFF, nullptr, r::UpdatePortCOutput};
    map[DDRC] = {"DDRC", 0x00, false, R::Stored, W::Store, 0xFF, nullptr, r::UpdatePortCDirection};
    map[PORTD] = {"PORTD", 0x00, false, R::Port, W::Store, 0xFF, nullptr, r::UpdatePortDOutput};
    map[DDRD] = {"DDRD", 0x00, false, R::Stored, W::Store, 0x3F, nullptr, r::UpdatePortDDirection};
    map[PORTE] = {"PORTE", 0x00, false, R::PortE, W::ReadOnly, 0xFF, "PORTE (Input Only)"};
    map[CFORC] = {"CFORC", 0x00, false, R::WriteOnly, W::Store, 0xF8,
                  "CFORC (Output Compare not implemented)"};
    map[OC1M] = {"OC1M", 0x00, false, R::Stored, W::Special, 0xF8, nullptr, r::WriteOc1};
    map[OC1D] = {"OC1D", 0x00, false, R::Stored, W::Special, 0xF8, nullptr, r::WriteOc1};
    word(TCNT, "TCNT", 0x00, 0x00, R::Stored, W::ReadOnly);
    word(TIC1, "TIC1", 0x00, 0x00, R::Stored, W::ReadOnly);
    word(TIC2, "TIC2", 0x00, 0x00, R::Stored, W::ReadOnly);
    word(TIC3, "TIC3", 0x00, 0xFF, R::Stored, W::ReadOnly);
    word(TOC1, "TOC1", 0xFF, 0xFF, R::Stored, W::Store);
    map[TOC1].WriteText = " TOC1 (First Byte)";
    word(TOC2, "TOC2", 0xFF, 0xFF, R::Stored, W::Store);
    word(TOC3, "TOC3", 0xFF, 0xFF, R::Stored, W::Store);
    word(TOC4, "TOC4", 0xFF, 0xFF, R::Stored, W::Store);
    word(TI4O5, "TI4O5", 0xFF, 0x00, R::NotImplemented, W::Special, r::WriteTi4o5);
    map[TCTL1] = {"TCTL1", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteTctl1};
    map[TCTL2] = {"TCTL2", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteTctl2};
    map[TMSK1] = {"TMSK1", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteTmsk1};
    map[TFLG1] = {"TFLG1", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteTflg1};
    map[TMSK2] = {"TMSK2", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteTmsk2};
    map[TFLG2] = {"TFLG2", 0x00, false, R::Stored, W::Special, 0xF0, nullptr, r::WriteTflg2};
    map[PACTL] = {"PACTL", 0x00, false, R::Stored, W::Special, 0x77, nullptr, r::WritePactl};
    map[PACNT] = {"PACNT", 0x00, false, R::Stored, W::Store, 0xFF,
                  "PACNT (Pulse Accumulator not implemented)"};
    map[SPCR] = {"SPCR", 0x00, false, R::Serial, W::Special, 0xFF, nullptr, r::WriteSpcr};
    map[SPSR] = {"SPSR", 0x00, false, R::Serial, W::ReadOnly};
    map[SPDR] = {"SPDR", 0x00, false, R::Serial, W::Store, 0xFF, "SPDR (SPI not implemented)"};
    // SCCR2 resets to $00 and SCSR to $C0 (TDRE and TC: nothing to send), as on the chip.
    map[BAUD] = {"BAUD", 0x00, false, R::Stored, W::Store, 0x37, nullptr, r::WriteSciRate};
    map[SCCR1] = {"SCCR1", 0x00, false, R::Stored, W::Special, 0xD8, nullptr, r::WriteSccr1};
    map[SCCR2] = {"SCCR2", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteSccr2};
    map[SCSR] = {"SCSR", 0xC0, false, R::Sci, W::ReadOnly};
    map[SCDR] = {"SCDR", 0x1F, false, R::Sci, W::Special, 0xFF, nullptr, r::WriteScdr};
    map[ADCTL] = {"ADCTL", 0x00, false, R::Stored, W::Special, 0x3F, nullptr, r::WriteAdctl};
    const char* results[] = {"ADR1", "ADR2", "ADR3", "ADR4"};
    for (int i = 0; i < 4; ++i) map[ADR1 + i] = {results[i], 0x00, false, R::Stored, W::ReadOnly};
    map[BPROT] = {"BPROT", 0x00, false, R::Stored, W::Special, 0x1F, nullptr, r::WriteBprot};
    map[TerminalStatus] = {"", 0x00, false, R::TerminalStatus, W::Unassigned};
    map[TerminalData] = {"", 0x00, false, R::TerminalData, W::Special, 0xFF, nullptr,
                         r::WriteConsoleData};
    map[OPT2] = {"OPT2", 0x20, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteOpt2};
    map[OPTION] = {"OPTION", 0x10, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteOption};
    map[COPRST] = {"COPRST", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteCoprst};
    map[PPROG] = {"PPROG", 0x00, false, R::Stored, W::InfoOnly, 0xDB, "PPROG (not Implemented)"};
    map[HPRIO] = {"HPRIO", 0x00, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteHprio};
    map[INIT] = {"INIT", 0x25, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteInit};
    map[TEST1] = {"TEST1", 0x01, false, R::Stored, W::ReadOnly, 0xFF,
                  "TEST1 (Read Only in Expanded NonMultiplexed Mode)"};
    map[CONFIG] = {"CONFIG", 0x0F, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteConfig};
    map[PrinterData] = {"", 0x00, false, R::Unassigned, W::Special, 0xFF, nullptr,
                        r::WritePrinterData};
    map[CSSTRH] = {"CSSTRH", 0x00, false, R::Stored, W::Store};
    map[CSCTL] = {"CSCTL", 0x04, false, R::Stored, W::Special, 0xFF, nullptr, r::WriteCsctl};
    map[CSGADR] = {"CSGADR", 0x00, false, R::Stored, W::Special, 0xFC, nullptr,
                   r::WriteGeneralChipSelect};
    map[CSGSIZ] = {"CSGSIZ", 0x07, false, R::Stored, W::Special, 0xDF, nullptr,
                   r::WriteGeneralChipSelect};
    return map;
}

inline constexpr TRegisterMap kRegisterMap = MakeRegisterMap();

// A register's name by its offset in the block; the terminal and printer ports have none
// in the table.
inline std::string RegisterNameAt(int offset) {
    const char* name = kRegisterMap[std::size_t(offset)].Name;
    return *name ? name : "register $" + Hex2(uint8_t(offset));
}

}  // namespace hexmoor
