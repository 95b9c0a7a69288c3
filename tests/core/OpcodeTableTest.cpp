// The opcode table against the chip's published instruction set: which opcodes exist on
// each page, their cycles, and what each instruction reports as changed.
#include <gmock/gmock.h>

#include <set>
#include <string>

#include "core/OpcodeTable.h"

namespace hexmoor {
namespace {

std::set<int> IllegalCodes(int page) {
    std::set<int> codes;
    for (int code = 0; code < 256; ++code)
        if (kOpcodeTable[page][code].Operation == TOperation::Illegal) codes.insert(code);
    return codes;
}

std::set<int> Complement(std::set<int> legal) {
    std::set<int> codes;
    for (int code = 0; code < 256; ++code)
        if (!legal.count(code)) codes.insert(code);
    return codes;
}

std::set<int> Range(int from, int to) {
    std::set<int> codes;
    for (int code = from; code <= to; ++code) codes.insert(code);
    return codes;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

TEST(OpcodeTable, IllegalOpcodesOfEachPage) {
    EXPECT_EQ(IllegalCodes(0),
              (std::set<int>{0x41, 0x42, 0x45, 0x4B, 0x4E, 0x51, 0x52, 0x55, 0x5B, 0x5E, 0x61,
                             0x62, 0x65, 0x6B, 0x71, 0x72, 0x75, 0x7B, 0x87, 0xC7}));
    std::set<int> page2Legal{0x08, 0x09, 0x1C, 0x1D, 0x1E, 0x1F, 0x30, 0x35, 0x38, 0x3A,
                             0x3C, 0x60, 0x63, 0x64, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6C,
                             0x6D, 0x6E, 0x6F, 0x8C, 0x8F, 0x9C, 0xBC, 0xCE, 0xDE, 0xDF,
                             0xFE, 0xFF};
    page2Legal = Union(Union(page2Legal, Range(0xA0, 0xAF)), Range(0xE0, 0xEF));
    EXPECT_EQ(IllegalCodes(1), Complement(page2Legal));
    EXPECT_EQ(IllegalCodes(2), Complement({0x83, 0x93, 0xA3, 0xAC, 0xB3, 0xEE, 0xEF}));
    EXPECT_EQ(IllegalCodes(3), Complement({0xA3, 0xAC, 0xEE, 0xEF}));
}

TEST(OpcodeTable, PrebytesLeadToTheirPages) {
    for (int page = 1; page < kPageCount; ++page)
        EXPECT_EQ(kOpcodeTable[0][kPrebytes[page]].Operation, TOperation::Prebyte);
}

TEST(OpcodeTable, CyclesAndLengths) {
    struct Case {
        int page, code;
        const char* mnemonic;
        int cycles, length;
    } cases[] = {
        {0, 0x02, "IDIV", 41, 1}, {0, 0x03, "FDIV", 41, 1},  {0, 0x3D, "MUL", 10, 1},
        {0, 0x3F, "SWI", 14, 1},  {0, 0x3B, "RTI", 12, 1},   {0, 0x3E, "WAI", 12, 1},
        {0, 0x38, "PULX", 5, 1},  {1, 0x38, "PULY", 6, 2},   {1, 0xAD, "JSR", 7, 3},
        {3, 0xA3, "CPD", 7, 3},   {1, 0x1C, "BSET", 8, 4},   {0, 0x12, "BRSET", 6, 4},
        {0, 0x1F, "BRCLR", 7, 4}, {1, 0x1F, "BRCLR", 8, 5},  {0, 0x8D, "BSR", 6, 2},
        {0, 0x21, "BRN", 3, 2},   {2, 0x83, "CPD", 5, 4},    {0, 0xCF, "STOP", 2, 1},
        {0, 0x7E, "JMP", 3, 3},   {1, 0x6E, "JMP", 4, 3},    {0, 0x6C, "INC", 6, 2},
        {0, 0xF7, "STAB", 4, 3},  {1, 0xE7, "STAB", 5, 3},   {0, 0x8E, "LDS", 3, 3},
    };
    for (const Case& c : cases) {
        const TOpcode& op = kOpcodeTable[c.page][c.code];
        EXPECT_STREQ(op.Mnemonic, c.mnemonic);
        EXPECT_EQ(op.Cycles, c.cycles) << c.mnemonic;
        EXPECT_EQ(InstructionLengthOf(c.page, op), c.length) << c.mnemonic;
    }
}

// What each instruction reports as changed, by mnemonic, over every page.
TEST(OpcodeTable, ChangeMaskOfEveryInstruction) {
    struct Group {
        std::set<std::string> mnemonics;
        uint16_t high;
        bool setsFlags;
    } groups[] = {
        {{"SUBA", "SBCA", "ANDA", "LDAA", "EORA", "ADCA", "ORAA", "ADDA", "NEGA", "COMA",
          "LSRA", "RORA", "ASRA", "ASLA", "ROLA", "DECA", "INCA", "CLRA", "DAA", "ABA", "SBA",
          "TBA"}, 0x0100, true},
        {{"TPA"}, 0x0100, false},
        {{"SUBB", "SBCB", "ANDB", "LDAB", "EORB", "ADCB", "ORAB", "ADDB", "NEGB", "COMB",
          "LSRB", "RORB", "ASRB", "ASLB", "ROLB", "DECB", "INCB", "CLRB", "TAB"}, 0x0200, true},
        {{"CMPA", "CMPB", "BITA", "BITB", "CBA", "TSTA", "TSTB", "TST", "CPD", "CPX", "CPY",
          "TAP", "CLC", "SEC", "CLV", "SEV", "CLI", "SEI"}, 0x0000, true},
        {{"SUBD", "ADDD", "LDD", "LSRD", "ASLD", "MUL"}, 0x0300, true},
        {{"LDX", "INX", "DEX"}, 0x0400, true},
        {{"TSX", "ABX"}, 0x0400, false},
        {{"LDY", "INY", "DEY"}, 0x0800, true},
        {{"TSY", "ABY"}, 0x0800, false},
        {{"LDS"}, 0x1000, true},
        {{"TXS", "TYS", "INS", "DES", "RTS"}, 0x1000, false},
        {{"PULA"}, 0x1100, false}, {{"PULB"}, 0x1200, false},
        {{"PULX"}, 0x1400, false}, {{"PULY"}, 0x1800, false},
        {{"XGDX"}, 0x0700, false}, {{"IDIV", "FDIV"}, 0x0700, true},
        {{"XGDY"}, 0x0B00, false},
        {{"STAA", "STAB", "BSET", "BCLR", "NEG", "COM", "LSR", "ROR", "ASR", "ASL", "ROL",
          "DEC", "INC", "CLR"}, 0x2000, true},
        {{"STD", "STX", "STY", "STS"}, 0x4000, true},
        {{"PSHA", "PSHB", "PSHX", "PSHY", "JSR", "BSR", "WAI"}, 0x3000, false},
    };
    int checked = 0;
    for (int page = 0; page < kPageCount; ++page) {
        for (int code = 0; code < 256; ++code) {
            const TOpcode& op = kOpcodeTable[page][code];
            for (const Group& g : groups) {
                if (!g.mnemonics.count(op.Mnemonic)) continue;
                const uint16_t mask = ChangeMaskOf(op);
                EXPECT_EQ(mask & 0xFF00, g.high) << op.Mnemonic;
                EXPECT_EQ((mask & 0x00FF) != 0, g.setsFlags) << op.Mnemonic;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 250);
    EXPECT_EQ(ChangeMaskOf(kOpcodeTable[0][0x3F]), 0x3010);  // SWI
    EXPECT_EQ(ChangeMaskOf(kOpcodeTable[0][0x3B]), 0x1FFF);  // RTI
    for (int code : {0x01, 0x20, 0x26, 0x12, 0x1F, 0x6E, 0x7E, 0xCF})
        EXPECT_EQ(ChangeMaskOf(kOpcodeTable[0][code]), 0) << std::hex << code;
}

}  // namespace
}  // namespace hexmoor
