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
        // One error at the statement that crosses, none for the lines after it.
        {"  ORG $FFFE\n  LDAA #1\n  LDAA #2\n  NOP\n  RMB 2", "t.asm:3: error: the code runs past $FFFF\n"},
        {"  ORG $FFFF\n  NOP\n  NOP\n  ORG $FFFF\n  FCB 1,2",
         "t.asm:3: error: the code runs past $FFFF\nt.asm:5: error: the code runs past $FFFF\n"},
        {"  RMB 1\n  FCB 1/0", "t.asm:2:8: error: division by zero\n"},
        {"A EQU B\nB EQU A",
         "t.asm:1:7: error: B has no value: its definition comes back round to itself (B -> A -> B)\n"
         "t.asm:2:7: error: A has no value: its definition comes back round to itself (A -> B -> A)\n"},
        {"A EQU B+1\nB EQU NOPE\n  FCB A",
         "t.asm:1:7: error: B has no value: it depends on the undefined symbol NOPE\n"
         "t.asm:2:7: error: undefined symbol NOPE\n"
         "t.asm:3:7: error: A has no value: it depends on the undefined symbol NOPE\n"},
        {"  FCB \"AB\"", "t.asm:1:7: error: FCB takes values, not text: write text with FCC, as in FCC \"ABC\"\n"},
        {"  FCB 1,'AB'", "t.asm:1:9: error: FCB takes values, not text: write text with FCC, as in FCC \"ABC\"\n"},
        {"LDAA #$42",
         "t.asm:1:6: error: unknown mnemonic #$42 (LDAA in column 1 is a label; indent it to make it a mnemonic or "
         "a directive)\n"},
        {"  INCLUDE nope.asm", "t.asm:1:11: error: cannot read nope.asm: no such file\n"},
        // From here on the code goes above the on-chip RAM, which draws a note of its own.
        {"  ORG $2000\n  LDAA #1 + 2",
         "t.asm:2:11: warning: the operand ended at the blank before '+', and the rest is a "
         "comment; write the operand without blanks\n"},
        {"  ORG $2000\n  STAA 6 ,X",
         "t.asm:2:10: warning: the operand ended at the blank before ',', and the rest is a "
         "comment; write the operand without blanks\n"},
        {"NOP", "t.asm:1:1: warning: NOP in column 1 is a label; indent it to make it a mnemonic or a directive\n"},
        {"  ORG $2000\n  JSR #5", "t.asm:2:7: warning: '#' ignored: JSR takes an address\n"},
        {"V EQU #1", "t.asm:1:7: warning: '#' ignored: EQU takes a value\n"},
        {"  ORG $2000\n  FCB 1+2*3",
         "t.asm:2:10: warning: '*' and '+' without parentheses: '*' binds tighter here, classic "
         "assemblers go left to right\n"},
        {"  ORG $2000\n  FCB 1\n  ORG $2000\n  FCB 2",
         "t.asm:4: warning: overwrites the byte at $2000, assembled before\n"},
        // One note for each run of bytes that starts in the on-chip RAM.
        {"  FCB 1\n  ORG $3FF\n  FCB 2\n  ORG $500\n  FCB 4\n  ORG $400\n  FCB 5",
         "t.asm:1: note: the bytes from $0000 on are in the on-chip RAM ($0000-$03FF), which the board's loader "
         "does not fill in its default mode: they read as 0 after loading unless the program is loaded in "
         "bootstrap mode (hexmoor-run --mode bootstrap)\n"
         "t.asm:3: note: the bytes from $03FF on are in the on-chip RAM ($0000-$03FF), which the board's loader "
         "does not fill in its default mode: they read as 0 after loading unless the program is loaded in "
         "bootstrap mode (hexmoor-run --mode bootstrap)\n"},
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
              "lib/more.asm:1:11: error: a file that includes itself: main.asm:2 -> lib/defs.asm:2 -> "
              "lib/more.asm:1 -> main.asm\n");
    EXPECT_EQ(ChunksText(assembly), "0000: 01 02 07");
    EXPECT_THAT(assembly.Files, ::testing::ElementsAre("main.asm", "lib/defs.asm", "lib/more.asm"));
}

// f0.asm includes f1.asm `times` times, which includes f2.asm as often, and so on.
std::map<std::string, std::string> IncludeChain(int files, int times) {
    std::map<std::string, std::string> sources;
    for (int i = 0; i < files; ++i) {
        std::string& text = sources["f" + std::to_string(i) + ".asm"];
        for (int n = 0; n < times && i + 1 < files; ++n) text += "  INCLUDE f" + std::to_string(i + 1) + ".asm\n";
        text += "  NOP\n";
    }
    return sources;
}

TEST(AsmDiagnostics, IncludesTooDeepOrTooManyEndInAnErrorNamingTheChain) {
    TTableSources deep(IncludeChain(40, 1));
    TAssembly assembly = Assemble("f0.asm", deep);
    std::string chain = "f0.asm:1";
    for (int i = 1; i < 32; ++i) chain += " -> f" + std::to_string(i) + ".asm:1";
    EXPECT_EQ(DiagnosticsText(assembly),
              "f31.asm:1:11: error: files included more than 32 deep: " + chain + " -> f32.asm\n");

    // 2^21 INCLUDE lines: past the bound, yet few enough to end without it too.
    TTableSources bomb(IncludeChain(22, 2));
    assembly = Assemble("f0.asm", bomb);
    ASSERT_EQ(assembly.Diagnostics.size(), 1u);
    EXPECT_THAT(FormatDiagnostic(assembly.Diagnostics[0]),
                ::testing::MatchesRegex("f[0-9]+\\.asm:[0-9]: error: more than 1000000 lines to assemble: the files "
                                        "include each other too often \\(f0\\.asm:[12] -> f1\\.asm:[12] -> .*\\)"));
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
