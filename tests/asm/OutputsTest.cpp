// The outputs' shapes: the listing, the symbol file, the S-records and the line table.
#include <gmock/gmock.h>

#include "asm/AsmTestSources.h"
#include "loader/S19Reader.h"

namespace hexmoor::testing {
namespace {

const char* const kProgram =
    "* demo\n"
    "PORTB   EQU  $1004\n"
    "        ORG  $2000\n"
    "start   LDAA #$41\n"
    "        STAA PORTB\n"
    "        FCC  /0123456789/\n"
    "i       SET  3\n"
    "        END  start\n";

TEST(AsmOutputs, ListingShowsAddressesBytesCyclesAndSymbols) {
    EXPECT_EQ(AssembleText(kProgram).Listing,
              "File t.asm\n"
              "1                                  * demo\n"
              "2     =1004                        PORTB   EQU  $1004\n"
              "3      2000                                ORG  $2000\n"
              "4      2000     86 41          2   start   LDAA #$41\n"
              "5      2002     B7 10 04       4           STAA PORTB\n"
              "6      2005     30 31 32 33 34             FCC  /0123456789/\n"
              "       200A     35 36 37 38 39\n"
              "7     =0003                        i       SET  3\n"
              "8      200F                                END  start\n"
              "\n"
              "Symbols\n"
              "PORTB  1004  EQU\n"
              "i      0003  SET\n"
              "start  2000  label\n");
}

// An EQU chain that refers forward takes more passes; the outputs are those of the last.
TEST(AsmOutputs, ListingAfterMorePassesShowsEachLineOnce) {
    const TAssembly assembly = AssembleText("A EQU B\nB EQU C\nC EQU 1\n  ORG $2000\n  FCB A\n");
    EXPECT_EQ(assembly.Listing,
              "File t.asm\n"
              "1     =0001                        A EQU B\n"
              "2     =0001                        B EQU C\n"
              "3     =0001                        C EQU 1\n"
              "4      2000                          ORG $2000\n"
              "5      2000     01                   FCB A\n"
              "\n"
              "Symbols\n"
              "A  0001  EQU\n"
              "B  0001  EQU\n"
              "C  0001  EQU\n");
    EXPECT_EQ(assembly.Lines.size(), 5u);
}

TEST(AsmOutputs, SymbolFileNamesLabelsAndEquatesByAddress) {
    EXPECT_EQ(SymbolFileText(AssembleText(kProgram)), "1004 PORTB\n2000 start\n");
}

TEST(AsmOutputs, LineTableGivesEachStatementItsBytes) {
    const TAssembly assembly = AssembleText(kProgram);
    std::vector<std::string> lines;
    for (const TAsmLine& line : assembly.Lines)
        lines.push_back(std::to_string(line.Line) + "@" + Hex4(line.Address) + "+" + std::to_string(line.Length));
    EXPECT_THAT(lines, ::testing::ElementsAre("2@0000+0", "3@2000+0", "4@2000+2", "5@2002+3", "6@2005+10", "7@200F+0",
                                              "8@200F+0"));
}

TEST(AsmOutputs, SRecordsReadBackAsTheChunks) {
    // 20 bytes at $2000, a gap, 3 at $3000; no ORG before them starts at 0.
    const TAssembly assembly =
        AssembleText("  FCB 7\n  ORG $2000\n  FILL $AA,19\n  FCB 1\n  ORG $3000\n  FDB $1234\n  FCB $FF\n  END $2000");
    const std::string text = S19Text(assembly);
    EXPECT_EQ(text.substr(0, 2), "S1");
    EXPECT_TRUE(text.ends_with("S9032000DC\n")) << text;
    std::vector<TAsmChunk> read;
    std::size_t records = 0;
    for (std::size_t start = 0; start < text.size(); start = text.find('\n', start) + 1) {
        const TS19Line line = ReadS19Line(text.substr(start, text.find('\n', start) - start));
        EXPECT_EQ(line.Message, "");
        records += !line.Bytes.empty();
        EXPECT_LE(line.Bytes.size(), 16u);
        for (const TS19Byte& byte : line.Bytes) {
            if (read.empty() || read.back().Address + read.back().Bytes.size() != byte.Address)
                read.push_back({byte.Address, {}});
            read.back().Bytes.push_back(byte.Value);
        }
    }
    EXPECT_EQ(records, 4u);
    ASSERT_EQ(read.size(), assembly.Chunks.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].Address, assembly.Chunks[i].Address);
        EXPECT_EQ(read[i].Bytes, assembly.Chunks[i].Bytes);
    }
    EXPECT_EQ(ChunksText(assembly),
              "0000: 07 | 2000: AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA 01 | "
              "3000: 12 34 FF");
}

}  // namespace
}  // namespace hexmoor::testing
