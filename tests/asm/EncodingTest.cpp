// The bytes each addressing mode and directive gives. Where the GNU assembler has the same
// statement, the bytes are what m68hc11-as gave for the GNU line in the comment.
#include <gmock/gmock.h>

#include "asm/AsmTestSources.h"

namespace hexmoor::testing {
namespace {

TEST(AsmEncoding, ModesAndDirectivesGiveTheReferenceBytes) {
    struct TCase {
        const char* Source;  // after an ORG $2000
        const char* Bytes;
    };
    const TCase cases[] = {
        {"  LDAA #$41", "2000: 86 41"},         // ldaa #0x41
        {"  LDD #$1234", "2000: CC 12 34"},     // ldd #0x1234
        {"  LDAA $41", "2000: 96 41"},          // ldaa *0x41
        {"  LDAA $1234", "2000: B6 12 34"},     // ldaa 0x1234
        {"  LDAA >$41", "2000: B6 00 41"},      // ldaa 0x41
        {"  ldaa 5,X", "2000: A6 05"},          // ldaa 5,x
        {"  LDAA ,x", "2000: A6 00"},           // ldaa 0,x
        {"  LDAB 0, y", "2000: 18 E6 00"},      // ldab 0,y
        {"  CPD #$1234", "2000: 1A 83 12 34"},  // cpd #0x1234
        {"  CPD 3,Y", "2000: CD A3 03"},        // cpd 3,y
        {"  LDY 3,X", "2000: 1A EE 03"},        // ldy 3,x
        {"  STX ,Y", "2000: CD EF 00"},         // stx 0,y
        {"  CPX $FF,Y", "2000: CD AC FF"},      // cpx 0xff,y
        {"  LDX #-1", "2000: CE FF FF"},        // ldx #0xffff
        {"  LDAA #-1", "2000: 86 FF"},
        {"  LDX #-32768", "2000: CE 80 00"},          // ldx #-32768
        {"  TEST", "2000: 00"},                       // test                // ldaa #-1
        {"  BSET $12 $34", "2000: 14 12 34"},         // bset *0x12 #0x34
        {"  BSET $12,X,#$34", "2000: 1C 12 34"},      // bset 0x12,x #0x34
        {"  BCLR 4,Y #$01", "2000: 18 1D 04 01"},     // bclr 4,y #0x01
        {"  BRSET 0,X $80 *", "2000: 1E 00 80 FC"},   // brset 0,x #0x80 .
        {"  BNE *", "2000: 26 FE"},                   // bne .
        {"  LSLD", "2000: 05"},                       // lsld
        {"  lsl 0,x", "2000: 68 00"},                 // lsl 0,x
        {"  BHS *", "2000: 24 FE"},                   // bhs .
        {"  BLO *", "2000: 25 FE"},                   // blo .
        {"  JSR $41", "2000: 9D 41"},                 // jsr *0x41
        {"  JMP $41", "2000: 7E 00 41"},              // jmp 0x41
        {"  STAA $1004 store it", "2000: B7 10 04"},  // staa 0x1004
        {"  FCB 1, 2, 'A", "2000: 01 02 41"},         // .byte 1,2,'A
        {"  FDB $1234,-1", "2000: 12 34 FF FF"},      // .word 0x1234,-1
        {"  FCC /Hi/", "2000: 48 69"},                // .ascii "Hi"
        {"  FCC \"a b\"", "2000: 61 20 62"},          // .ascii "a b"
        {"  FILL $FF,3", "2000: FF FF FF"},           // .fill 3,1,0xff
        {"  FCB 2+3*4", "2000: 0E"},                  // .byte 14
        {"  FCB %1010,@17", "2000: 0A 0F"},           // .byte 10, 15
        // The classic rules, which the GNU syntax has no line for.
        {"  LDAA FWD\nFWD EQU $10", "2000: B6 00 10"},  // the first pass chose extended
        {"  LDAA <FWD\nFWD EQU $10", "2000: 96 10"},
        {"  BSET FWD $01\nFWD EQU $10", "2000: 14 10 01"},  // no extended form to choose
        {"  BRCLR $12,#$80,*", "2000: 13 12 80 FC"},
        {"  FCB 1\n  RMB 2\n  FCB 2", "2000: 01 | 2003: 02"},
        {"  BSZ 2\n  ZMB 1", "2000: 00 00 00"},
        {"V SET 1\nV SET V+1\n  FCB V", "2000: 02"},
        {"V EQU #5\n  FCB V", "2000: 05"},
        {"  JMP #L\nL FDB #L", "2000: 7E 20 03 20 03"},
        {"  FDB *,*+2", "2000: 20 00 20 02"},
        {"  LDAA #1\r\n  NOP\r\n", "2000: 86 01 01"},
        {"L1:\n  BRA L1 ; back", "2000: 20 FE"},
        {"  FCB 1\n  END\n  FCB 2", "2000: 01"},
        // The old Motorola assemblers' spellings.
        {"  LDA $1234", "2000: B6 12 34"},      // ldaa 0x1234
        {"  ldb 5,X", "2000: E6 05"},           // ldab 5,x
        {"  STA $41", "2000: 97 41"},           // staa *0x41
        {"  STB $1234", "2000: F7 12 34"},      // stab 0x1234
        {"  ORA #$0F", "2000: 8A 0F"},          // oraa #0xf
        {"  ORB 3,Y", "2000: 18 EA 03"},        // orab 3,y
        {"  CMPD #$1234", "2000: 1A 83 12 34"}, // cpd #0x1234
        {"  CMPD $1234", "2000: 1A B3 12 34"},  // cpd 0x1234
        {"BUF EQU $2010\nHDRLEN EQU 4\n  CPY #BUF+#HDRLEN", "2000: 18 8C 20 14"},  // cpy #0x2010+4
        {"  LDAA #(#1+#2)*#3", "2000: 86 09"},
        {"  BSET $12 #1+#2", "2000: 14 12 03"},  // bset *0x12 #3
        {"  STAA 6 ,X", "2000: 97 06"},  // staa *6: ",X" is a comment
        {"  FCB 1\n  END of program\n  FCB 2", "2000: 01"},
        {"A EQU B\nB EQU C\nC EQU D+1\nD EQU $41\n  LDAA #A", "2000: 86 42"},
        {"  LDX #V\nV EQU W\nW EQU L\nL NOP", "2000: CE 20 03 01"},
        {"  LDAA A\nA EQU B\nB EQU $10", "2000: B6 00 10"},  // the first pass chose extended
        {"* caf\xE9 \x93quoted\x94\n  FCC /caf\xE9/ \x93" "comment\x94\n  FCB '\xE9\n  FCC \"\xC3\xA9\"",
         "2000: 63 61 66 E9 E9 C3 A9"},
        {"  NOP\r  FCB 2\r\n  FCB 3\n\n\r  FCB 4", "2000: 01 02 03 04"},  // CR alone, CR LF, LF
        {"  NOP\n\x1A\n  FCB 9 after the end-of-file mark\n\xFF", "2000: 01"},
        {"  FCB 1\nM MACRO\n  FCB 9\n  ENDM\n  FCB 2", "2000: 01 02"},
    };
    for (const TCase& c : cases) {
        const TAssembly assembly = AssembleText(std::string("  ORG $2000\n") + c.Source);
        EXPECT_EQ(ChunksText(assembly), c.Bytes) << c.Source << "\n" << DiagnosticsText(assembly);
    }
}

// Text as DOS and Windows editors left it, and END's operand: an entry or a comment.
TEST(AsmEncoding, OldEditorsTextAndEndOperands) {
    const std::string bom = "\xEF\xBB\xBF";
    TAssembly assembly = AssembleText(bom + "L EQU $12\r  ORG $2000\r  FCB L\x1A");
    EXPECT_EQ(ChunksText(assembly), "2000: 12") << DiagnosticsText(assembly);
    EXPECT_EQ(DiagnosticsText(assembly), "");

    struct TCase {
        const char* End;
        std::optional<uint16_t> Entry;
    };
    const TCase cases[] = {
        {"  END start of program", 0x2000}, {"  END $2000+2 ; go", 0x2002}, {"  END of program", std::nullopt},
        {"  END\tthe end", std::nullopt},   {"  END", std::nullopt},
    };
    for (const TCase& c : cases) {
        assembly = AssembleText(std::string("  ORG $2000\nstart NOP\n") + c.End);
        EXPECT_EQ(assembly.Entry, c.Entry) << c.End;
        EXPECT_EQ(DiagnosticsText(assembly), "") << c.End;
    }
}

}  // namespace
}  // namespace hexmoor::testing
