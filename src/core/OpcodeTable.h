// The 68HC11 instruction set as one table: every legal opcode of the four pages with its
// mnemonic, operation, register, addressing mode and E-clock cycles (the published M68HC11
// counts, except WAI: 12). Every opcode not listed is illegal. The executor, the trace text
// and the tests all read this one table.
#pragma once

#include "core/Opcode.h"

namespace hexmoor {

namespace opcode_rows {

using enum TOperation;
using enum TRegister;
inline constexpr TAddressing INH = TAddressing::Inherent, IMM = TAddressing::Immediate8,
                             IMM16 = TAddressing::Immediate16, DIR = TAddressing::Direct,
                             EXT = TAddressing::Extended, IDX = TAddressing::IndexedX,
                             IDY = TAddressing::IndexedY, REL = TAddressing::Relative;
inline constexpr int P1 = 0, P2 = 1, P3 = 2, P4 = 3;

struct TRow {
    int Page;
    uint8_t Code;
    TOpcode Opcode;
};

// Accumulator operations with a memory operand, A forms at $8x-$Bx and B forms at $Cx-$Fx
// (immediate, direct, indexed X, extended); the indexed-Y forms sit at the same codes on
// page 2.
struct TAccumulatorFamily {
    uint8_t LowNibble;
    const char* MnemonicA;
    const char* MnemonicB;
    TOperation Operation;
};
inline constexpr TAccumulatorFamily kAccumulatorFamilies[] = {
    {0x0, "SUBA", "SUBB", Sub}, {0x1, "CMPA", "CMPB", Cmp}, {0x2, "SBCA", "SBCB", Sbc},
    {0x4, "ANDA", "ANDB", And}, {0x5, "BITA", "BITB", Bit}, {0x6, "LDAA", "LDAB", Lda},
    {0x7, "STAA", "STAB", Sta}, {0x8, "EORA", "EORB", Eor}, {0x9, "ADCA", "ADCB", Adc},
    {0xA, "ORAA", "ORAB", Ora}, {0xB, "ADDA", "ADDB", Add},
};

// One-operand operations: A at $4x, B at $5x, memory indexed X at $6x and extended at $7x;
// memory indexed Y at $6x on page 2.
struct TOneOperandFamily {
    uint8_t LowNibble;
    const char* MnemonicA;
    const char* MnemonicB;
    const char* MnemonicMemory;
    TOperation Operation;
};
inline constexpr TOneOperandFamily kOneOperandFamilies[] = {
    {0x0, "NEGA", "NEGB", "NEG", Neg}, {0x3, "COMA", "COMB", "COM", Com},
    {0x4, "LSRA", "LSRB", "LSR", Lsr}, {0x6, "RORA", "RORB", "ROR", Ror},
    {0x7, "ASRA", "ASRB", "ASR", Asr}, {0x8, "ASLA", "ASLB", "ASL", Asl},
    {0x9, "ROLA", "ROLB", "ROL", Rol}, {0xA, "DECA", "DECB", "DEC", Dec},
    {0xC, "INCA", "INCB", "INC", Inc}, {0xD, "TSTA", "TSTB", "TST", Tst},
    {0xF, "CLRA", "CLRB", "CLR", Clr},
};

inline constexpr TRow kRows[] = {
    {P1, 0x00, {"TEST", Test, None, INH, 2}},   // illegal in expanded mode: see the executor
    {P1, 0x01, {"NOP", Nop, None, INH, 2}},
    {P1, 0x02, {"IDIV", Idiv, None, INH, 41}},
    {P1, 0x03, {"FDIV", Fdiv, None, INH, 41}},
    {P1, 0x04, {"LSRD", Lsrd, D, INH, 3}},
    {P1, 0x05, {"ASLD", Asld, D, INH, 3}},
    {P1, 0x06, {"TAP", Tap, None, INH, 2}},
    {P1, 0x07, {"TPA", Tpa, A, INH, 2}},
    {P1, 0x08, {"INX", Inc16, X, INH, 3}},
    {P1, 0x09, {"DEX", Dec16, X, INH, 3}},
    {P1, 0x0A, {"CLV", Clv, None, INH, 2}},
    {P1, 0x0B, {"SEV", Sev, None, INH, 2}},
    {P1, 0x0C, {"CLC", Clc, None, INH, 2}},
    {P1, 0x0D, {"SEC", Sec, None, INH, 2}},
    {P1, 0x0E, {"CLI", Cli, None, INH, 2}},
    {P1, 0x0F, {"SEI", Sei, None, INH, 2}},
    {P1, 0x10, {"SBA", Sba, A, INH, 2}},
    {P1, 0x11, {"CBA", Cba, None, INH, 2}},
    {P1, 0x12, {"BRSET", Brset, None, DIR, 6}},
    {P1, 0x13, {"BRCLR", Brclr, None, DIR, 6}},
    {P1, 0x14, {"BSET", Bset, None, DIR, 6}},
    {P1, 0x15, {"BCLR", Bclr, None, DIR, 6}},
    {P1, 0x16, {"TAB", Tab, B, INH, 2}},
    {P1, 0x17, {"TBA", Tba, A, INH, 2}},
    {P1, 0x18, {"", Prebyte, None, INH, 0}},
    {P1, 0x19, {"DAA", Daa, A, INH, 2}},
    {P1, 0x1A, {"", Prebyte, None, INH, 0}},
    {P1, 0x1B, {"ABA", Aba, A, INH, 2}},
    {P1, 0x1C, {"BSET", Bset, None, IDX, 7}},
    {P1, 0x1D, {"BCLR", Bclr, None, IDX, 7}},
    {P1, 0x1E, {"BRSET", Brset, None, IDX, 7}},
    {P1, 0x1F, {"BRCLR", Brclr, None, IDX, 7}},
    {P1, 0x20, {"BRA", Branch, None, REL, 3}},
    {P1, 0x21, {"BRN", Branch, None, REL, 3}},
    {P1, 0x22, {"BHI", Branch, None, REL, 3}},
    {P1, 0x23, {"BLS", Branch, None, REL, 3}},
    {P1, 0x24, {"BCC", Branch, None, REL, 3}},
    {P1, 0x25, {"BCS", Branch, None, REL, 3}},
    {P1, 0x26, {"BNE", Branch, None, REL, 3}},
    {P1, 0x27, {"BEQ", Branch, None, REL, 3}},
    {P1, 0x28, {"BVC", Branch, None, REL, 3}},
    {P1, 0x29, {"BVS", Branch, None, REL, 3}},
    {P1, 0x2A, {"BPL", Branch, None, REL, 3}},
    {P1, 0x2B, {"BMI", Branch, None, REL, 3}},
    {P1, 0x2C, {"BGE", Branch, None, REL, 3}},
    {P1, 0x2D, {"BLT", Branch, None, REL, 3}},
    {P1, 0x2E, {"BGT", Branch, None, REL, 3}},
    {P1, 0x2F, {"BLE", Branch, None, REL, 3}},
    {P1, 0x30, {"TSX", Tsx, X, INH, 3}},
    {P1, 0x31, {"INS", Ins, SP, INH, 3}},
    {P1, 0x32, {"PULA", Pul8, A, INH, 4}},
    {P1, 0x33, {"PULB", Pul8, B, INH, 4}},
    {P1, 0x34, {"DES", Des, SP, INH, 3}},
    {P1, 0x35, {"TXS", Txs, X, INH, 3}},
    {P1, 0x36, {"PSHA", Psh8, A, INH, 3}},
    {P1, 0x37, {"PSHB", Psh8, B, INH, 3}},
    {P1, 0x38, {"PULX", Pul16, X, INH, 5}},
    {P1, 0x39, {"RTS", Rts, None, INH, 5}},
    {P1, 0x3A, {"ABX", Abx, X, INH, 3}},
    {P1, 0x3B, {"RTI", Rti, None, INH, 12}},
    {P1, 0x3C, {"PSHX", Psh16, X, INH, 4}},
    {P1, 0x3D, {"MUL", Mul, D, INH, 10}},
    {P1, 0x3E, {"WAI", Wai, None, INH, 12}},
    {P1, 0x3F, {"SWI", Swi, None, INH, 14}},
    {P1, 0x6E, {"JMP", Jmp, None, IDX, 3}},
    {P1, 0x7E, {"JMP", Jmp, None, EXT, 3}},
    {P1, 0x83, {"SUBD", Subd, D, IMM16, 4}},
    {P1, 0x8C, {"CPX", Cp16, X, IMM16, 4}},
    {P1, 0x8D, {"BSR", Bsr, None, REL, 6}},
    {P1, 0x8E, {"LDS", Ld16, SP, IMM16, 3}},
    {P1, 0x8F, {"XGDX", Xgd, X, INH, 3}},
    {P1, 0x93, {"SUBD", Subd, D, DIR, 5}},
    {P1, 0x9C, {"CPX", Cp16, X, DIR, 5}},
    {P1, 0x9D, {"JSR", Jsr, None, DIR, 5}},
    {P1, 0x9E, {"LDS", Ld16, SP, DIR, 4}},
    {P1, 0x9F, {"STS", St16, SP, DIR, 4}},
    {P1, 0xA3, {"SUBD", Subd, D, IDX, 6}},
    {P1, 0xAC, {"CPX", Cp16, X, IDX, 6}},
    {P1, 0xAD, {"JSR", Jsr, None, IDX, 6}},
    {P1, 0xAE, {"LDS", Ld16, SP, IDX, 5}},
    {P1, 0xAF, {"STS", St16, SP, IDX, 5}},
    {P1, 0xB3, {"SUBD", Subd, D, EXT, 6}},
    {P1, 0xBC, {"CPX", Cp16, X, EXT, 6}},
    {P1, 0xBD, {"JSR", Jsr, None, EXT, 6}},
    {P1, 0xBE, {"LDS", Ld16, SP, EXT, 5}},
    {P1, 0xBF, {"STS", St16, SP, EXT, 5}},
    {P1, 0xC3, {"ADDD", Addd, D, IMM16, 4}},
    {P1, 0xCC, {"LDD", Ld16, D, IMM16, 3}},
    {P1, 0xCD, {"", Prebyte, None, INH, 0}},
    {P1, 0xCE, {"LDX", Ld16, X, IMM16, 3}},
    {P1, 0xCF, {"STOP", Stop, None, INH, 2}},
    {P1, 0xD3, {"ADDD", Addd, D, DIR, 5}},
    {P1, 0xDC, {"LDD", Ld16, D, DIR, 4}},
    {P1, 0xDD, {"STD", St16, D, DIR, 4}},
    {P1, 0xDE, {"LDX", Ld16, X, DIR, 4}},
    {P1, 0xDF, {"STX", St16, X, DIR, 4}},
    {P1, 0xE3, {"ADDD", Addd, D, IDX, 6}},
    {P1, 0xEC, {"LDD", Ld16, D, IDX, 5}},
    {P1, 0xED, {"STD", St16, D, IDX, 5}},
    {P1, 0xEE, {"LDX", Ld16, X, IDX, 5}},
    {P1, 0xEF, {"STX", St16, X, IDX, 5}},
    {P1, 0xF3, {"ADDD", Addd, D, EXT, 6}},
    {P1, 0xFC, {"LDD", Ld16, D, EXT, 5}},
    {P1, 0xFD, {"STD", St16, D, EXT, 5}},
    {P1, 0xFE, {"LDX", Ld16, X, EXT, 5}},
    {P1, 0xFF, {"STX", St16, X, EXT, 5}},

    {P2, 0x08, {"INY", Inc16, Y, INH, 4}},
    {P2, 0x09, {"DEY", Dec16, Y, INH, 4}},
    {P2, 0x1C, {"BSET", Bset, None, IDY, 8}},
    {P2, 0x1D, {"BCLR", Bclr, None, IDY, 8}},
    {P2, 0x1E, {"BRSET", Brset, None, IDY, 8}},
    {P2, 0x1F, {"BRCLR", Brclr, None, IDY, 8}},
    {P2, 0x30, {"TSY", Tsx, Y, INH, 4}},
    {P2, 0x35, {"TYS", Txs, Y, INH, 4}},
    {P2, 0x38, {"PULY", Pul16, Y, INH, 6}},
    {P2, 0x3A, {"ABY", Abx, Y, INH, 4}},
    {P2, 0x3C, {"PSHY", Psh16, Y, INH, 5}},
    {P2, 0x6E, {"JMP", Jmp, None, IDY, 4}},
    {P2, 0x8C, {"CPY", Cp16, Y, IMM16, 5}},
    {P2, 0x8F, {"XGDY", Xgd, Y, INH, 4}},
    {P2, 0x9C, {"CPY", Cp16, Y, DIR, 6}},
    {P2, 0xA3, {"SUBD", Subd, D, IDY, 7}},
    {P2, 0xAC, {"CPY", Cp16, Y, IDY, 7}},
    {P2, 0xAD, {"JSR", Jsr, None, IDY, 7}},
    {P2, 0xAE, {"LDS", Ld16, SP, IDY, 6}},
    {P2, 0xAF, {"STS", St16, SP, IDY, 6}},
    {P2, 0xBC, {"CPY", Cp16, Y, EXT, 7}},
    {P2, 0xCE, {"LDY", Ld16, Y, IMM16, 4}},
    {P2, 0xDE, {"LDY", Ld16, Y, DIR, 5}},
    {P2, 0xDF, {"STY", St16, Y, DIR, 5}},
    {P2, 0xE3, {"ADDD", Addd, D, IDY, 7}},
    {P2, 0xEC, {"LDD", Ld16, D, IDY, 6}},
    {P2, 0xED, {"STD", St16, D, IDY, 6}},
    {P2, 0xEE, {"LDY", Ld16, Y, IDY, 6}},
    {P2, 0xEF, {"STY", St16, Y, IDY, 6}},
    {P2, 0xFE, {"LDY", Ld16, Y, EXT, 6}},
    {P2, 0xFF, {"STY", St16, Y, EXT, 6}},

    {P3, 0x83, {"CPD", Cp16, D, IMM16, 5}},
    {P3, 0x93, {"CPD", Cp16, D, DIR, 6}},
    {P3, 0xA3, {"CPD", Cp16, D, IDX, 7}},
    {P3, 0xAC, {"CPY", Cp16, Y, IDX, 7}},
    {P3, 0xB3, {"CPD", Cp16, D, EXT, 7}},
    {P3, 0xEE, {"LDY", Ld16, Y, IDX, 6}},
    {P3, 0xEF, {"STY", St16, Y, IDX, 6}},

    {P4, 0xA3, {"CPD", Cp16, D, IDY, 7}},
    {P4, 0xAC, {"CPX", Cp16, X, IDY, 7}},
    {P4, 0xEE, {"LDX", Ld16, X, IDY, 6}},
    {P4, 0xEF, {"STX", St16, X, IDY, 6}},
};

consteval TOpcodeTable MakeOpcodeTable() {
    TOpcodeTable table;
    for (TOpcodePage& page : table) page.fill(TOpcode{});  // every code illegal until listed
    for (const TAccumulatorFamily& f : kAccumulatorFamilies) {
        struct { int page; uint8_t base; TAddressing mode; uint8_t cycles; } forms[] = {
            {P1, 0x80, IMM, 2}, {P1, 0x90, DIR, 3}, {P1, 0xA0, IDX, 4},
            {P1, 0xB0, EXT, 4}, {P2, 0xA0, IDY, 5},
        };
        for (auto form : forms) {
            if (f.Operation == Sta && form.mode == IMM) continue;  // no store to an immediate
            table[form.page][form.base | f.LowNibble] =
                {f.MnemonicA, f.Operation, A, form.mode, form.cycles};
            table[form.page][(form.base + 0x40) | f.LowNibble] =
                {f.MnemonicB, f.Operation, B, form.mode, form.cycles};
        }
    }
    for (const TOneOperandFamily& f : kOneOperandFamilies) {
        table[P1][0x40 | f.LowNibble] = {f.MnemonicA, f.Operation, A, INH, 2};
        table[P1][0x50 | f.LowNibble] = {f.MnemonicB, f.Operation, B, INH, 2};
        table[P1][0x60 | f.LowNibble] = {f.MnemonicMemory, f.Operation, None, IDX, 6};
        table[P1][0x70 | f.LowNibble] = {f.MnemonicMemory, f.Operation, None, EXT, 6};
        table[P2][0x60 | f.LowNibble] = {f.MnemonicMemory, f.Operation, None, IDY, 7};
    }
    for (const TRow& row : kRows) table[row.Page][row.Code] = row.Opcode;
    return table;
}

}  // namespace opcode_rows

inline constexpr TOpcodeTable kOpcodeTable = opcode_rows::MakeOpcodeTable();

}  // namespace hexmoor
