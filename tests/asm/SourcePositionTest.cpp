// Where a program's source lines are in memory and back: FILE:LINE positions, as --break
// and the Source window use them, and the line an address belongs to.
#include <gtest/gtest.h>

#include "asm/SourceProgram.h"
#include "asm/AsmTestSources.h"

namespace hexmoor::testing {
namespace {

TAssembly TwoFiles() {
    TTableSources sources({{"lib/main.asm",
                            "        ORG $2000\n"
                            "start   INX\n"
                            "* a comment\n"
                            "        INCLUDE \"parts.inc\"\n"
                            "        BRA start\n"},
                           {"lib/parts.inc", "part    NOP\n        RTS\n"}});
    return Assemble("lib/main.asm", sources);
}

TEST(SourcePosition, ReadsFileAndLine) {
    const TAssembly assembly = TwoFiles();
    ASSERT_FALSE(assembly.Failed());
    struct TCase {
        const char* Text;
        std::optional<uint16_t> Address;
        const char* Error;  // for a position that names no code
    };
    const TCase cases[] = {
        {"lib/main.asm:2", 0x2000, ""},
        {"main.asm:3", 0x2003, ""},  // a comment and an INCLUDE: the code after them
        {"parts.inc:2", 0x2002, ""},
        {"main.asm:6", std::nullopt, "no code at or after line 6 of main.asm"},
        {"other.asm:1", std::nullopt, "no source file other.asm in the program"},
        {"a:1", std::nullopt, "no source file a in the program"},
        {"main.asm:0", std::nullopt, ""},  // not a position at all
        {":5", std::nullopt, ""},
        {"main.asm:x", std::nullopt, ""},
        {"loop+3", std::nullopt, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        std::string error;
        EXPECT_EQ(SourcePosition(assembly, c.Text, error), c.Address);
        EXPECT_EQ(error, c.Error);
        EXPECT_EQ(LooksLikeSourcePosition(c.Text), c.Address || *c.Error);
    }
}

TEST(SourcePosition, FindsTheLineOfAnAddress) {
    const TAssembly assembly = TwoFiles();
    const std::pair<uint16_t, const char*> cases[] = {
        {0x2000, "lib/main.asm:2"}, {0x2001, "lib/parts.inc:1"}, {0x2002, "lib/parts.inc:2"},
        {0x2004, "lib/main.asm:5"}, {0x2005, ""},
    };
    for (auto [address, expected] : cases) {
        const TAsmLine* line = LineAt(assembly, address);
        EXPECT_EQ(line ? assembly.Files[std::size_t(line->File)] + ":" + std::to_string(line->Line) : "", expected)
            << Hex4(address);
    }
}

}  // namespace
}  // namespace hexmoor::testing
