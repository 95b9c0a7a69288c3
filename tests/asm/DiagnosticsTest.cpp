// Every kind of error and warning, with its place, and sources no input may crash or hang.
#include <gmock/gmock.h>

#include "asm/AsmTestSources.h"

namespace hexmoor::testing {
namespace {

TEST(AsmDiagnostics, EachKindWithItsLineAndColumn) {
    struct TCase {
        const char* Source;
        const char* Messages;
    };
    const TCase cases[] = {
        {"  LDAA FOO", "t.asm:1:8: error: undefined symbol FOO\n"},
        {"A NOP\nA NOP", "t.asm:2:1: error: A is already defined at t.asm:1\n"},
        {"  BRA *+130",
         "t.asm:1:7: error: branch out of range: $0082 is 128 bytes away, a branch reaches -128 to +127\n"},
        {"  BRSET 0,X 1 *+132",
         "t.asm:1:15: error: branch out of range: $0084 is 128 bytes away, a branch reaches -128 to +127\n"},
        {"  LDAA #$100", "t.asm:1:9: error: 8-bit immediate $0100 out of range (-128 to $FF)\n"},
        {"  LDX #-32769", "t.asm:1:8: error: 16-bit immediate -32769 out of range (-32768 to $FFFF)\n"},
        {"  FCB 1,-129", "t.asm:1:9: error: byte -129 out of range (-128 to $FF)\n"},
        {"  LDAA <$100", "t.asm:1:8: error: direct-page address $0100 out of range ($00 to $FF)\n"},
        {"  LDAA 256,X", "t.asm:1:8: error: index offset $0100 out of range ($00 to $FF)\n"},
        {"  FROB 1", "t.asm:1:3: error: unknown mnemonic FROB\n"},
        {"  STAA #1", "t.asm:1:8: error: STAA has no immediate mode\n"},
        {"  JMP <1", "t.asm:1:7: error: JMP has no direct mode\n"},
        {"  BSET $1004 $01",
         "t.asm:1:8: error: BSET reaches $00-$FF directly, not $1004; load X with a base and give an offset, as in "
         "BSET $04,X\n"},
        {"  BSET FWD $01\nFWD EQU $1004",
         "t.asm:1:8: error: BSET reaches $00-$FF directly, not $1004; load X with a base and give an offset, as in "
         "BSET $04,X\n"},
        {"  ORG FWD\nFWD EQU 5",
         "t.asm:1:7: error: ORG needs a value known where it stands, without forward references\n"},
        {"  LDAA 5,Z", "t.asm:1:10: error: unexpected 'Z': expected X or Y after the comma\n"},
        {"  LDAA 5)", "t.asm:1:9: error: unexpected ')'\n"},
        {"  EQU 5", "t.asm:1:3: error: EQU needs a label to name its value\n"},
        {"V EQU 1\nV SET 2", "t.asm:2:1: error: V is already defined at t.asm:1\n"},
        {"M MACRO\n1 FOO\n  ENDM\n  ENDM",
         "t.asm:1:3: error: macros are not supported\n"
         "t.asm:4:3: error: ENDM without MACRO (macros are not supported)\n"},
        {"  FCC /abc", "t.asm:1:7: error: no closing / after the FCC text\n"},
        {"1abc", "t.asm:1:1: error: unexpected '1' in column 1: a label starts with a letter, '_' or '.'\n"},
        {"  ORG $FFFF\n  LDAA #1", "t.asm:2: error: the code runs past $FFFF\n"},
        {"  RMB 1\n  FCB 1/0", "t.asm:2:8: error: division by zero\n"},
        {"A EQU B\nB EQU C\nC EQU 1\n  FCB A",
         "t.asm:1:7: error: B has no value here: it is defined by symbols that come after it\n"
         "t.asm:4:7: error: A has no value here: it is defined by symbols that come after it\n"},
        {"  INCLUDE nope.asm", "t.asm:1:11: error: cannot read nope.asm: no such file\n"},
        {"  LDAA #1 + 2",
         "t.asm:1:11: warning: the operand ended at the blank before '+', and the rest is a "
         "comment; write the operand without blanks\n"},
        {"NOP", "t.asm:1:1: warning: NOP in column 1 is a label; indent it to make it a mnemonic or a directive\n"},
        {"  JSR #5", "t.asm:1:7: warning: '#' ignored: JSR takes an address\n"},
        {"V EQU #1", "t.asm:1:7: warning: '#' ignored: EQU takes a value\n"},
        {"  FCB 1+2*3",
         "t.asm:1:10: warning: '*' and '+' without parentheses: '*' binds tighter here, classic "
         "assemblers go left to right\n"},
        {"  FCB 1\n  ORG 0\n  FCB 2", "t.asm:3: warning: overwrites the byte at $0000, assembled before\n"},
    };
    for (const TCase& c : cases) {
        const TAssembly assembly = AssembleText(c.Source);
        EXPECT_EQ(DiagnosticsText(assembly), c.Messages) << c.Source;
        EXPECT_EQ(assembly.Failed(), std::string(c.Messages).find("error:") != std::string::npos) << c.Source;
    }
}

TEST(AsmDiagnostics, IncludedFilesAndTheirCycles) {
    TTableSources sources({
        {"main.asm", "  FCB 1\n  INCLUDE lib/defs.asm\n  FCB VALUE"},
        {"lib/defs.asm", "VALUE EQU 7\n  INCLUDE \"more.asm\"\n"},
        {"lib/more.asm", "  INCLUDE ../main.asm\n  FCB 2\n"},
    });
    const TAssembly assembly = Assemble("main.asm", sources);
    EXPECT_EQ(DiagnosticsText(assembly),
              "lib/more.asm:1:11: error: a file that includes itself: main.asm -> lib/defs.asm -> lib/more.asm -> "
              "main.asm\n");
    EXPECT_EQ(ChunksText(assembly), "0000: 01 02 07");
    EXPECT_THAT(assembly.Files, ::testing::ElementsAre("main.asm", "lib/defs.asm", "lib/more.asm"));
}

// Whatever the text, the assembler ends with messages, never a crash or a hang.
TEST(AsmDiagnostics, HostileTextEndsInErrors) {
    const std::string deep(5000, '(');
    const std::string cases[] = {
        "  LDAA #" + deep + "1",
        "  FCB $123456789ABCDEF0123",
        std::string("\x00\xFF\x80 LDAA\n\t\x01\x02 \xFE", 14),
        "  FILL 0,$10000\n  FILL 0,1",
        "  RMB -1\n  BSZ 99999999999",
        std::string(100000, 'A') + " " + std::string(100000, 'B'),
        "  BRSET\n  BSET 1\n  BRSET 1,X 2\n  LDAA ,\n  LDAA #\n  FCB\n  FDB 1,\n  INCLUDE\n  FILL 1",
    };
    for (const std::string& source : cases) {
        const TAssembly assembly = AssembleText(source);
        EXPECT_TRUE(assembly.Failed()) << source.substr(0, 60);
    }
}

}  // namespace
}  // namespace hexmoor::testing
