// Reading S-record text.
#include <gmock/gmock.h>

#include "loader/S19Reader.h"

namespace hexmoor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

MATCHER_P2(ByteAt, address, value, "") { return arg.Address == address && arg.Value == value; }
MATCHER_P2(Diagnostic, line, message, "") { return arg.Line == line && arg.Message == message; }

TEST(S19Reader, DataRecordsAtTheirAddresses) {
    const TS19Contents contents = ReadS19("S1062000860A33FF\nS1042010C5FF\nS9032000DC\n");
    EXPECT_THAT(contents.Bytes, ElementsAre(ByteAt(0x2000, 0x86), ByteAt(0x2001, 0x0A),
                                            ByteAt(0x2002, 0x33), ByteAt(0x2010, 0xC5)));
    EXPECT_THAT(contents.Diagnostics, IsEmpty());
}

TEST(S19Reader, AnyLineEndAndEmptyLines) {
    const TS19Contents contents = ReadS19("S1042000AAFF\r\n\r\nS1042001BBFF\rS1042002CCFF");
    EXPECT_THAT(contents.Bytes, ElementsAre(ByteAt(0x2000, 0xAA), ByteAt(0x2001, 0xBB),
                                            ByteAt(0x2002, 0xCC)));
    EXPECT_THAT(contents.Diagnostics, IsEmpty());
}

TEST(S19Reader, ProblemsAreReportedAndReadingGoesOn) {
    struct Case {
        const char* name;
        const char* text;
        std::vector<TS19Byte> bytes;
        std::vector<TS19Diagnostic> diagnostics;
    } cases[] = {
        {"header record", "S00600004844521B\nS1042000AAFF\n",
         {{0x2000, 0xAA}}, {{1, "Unknown S Record"}}},
        {"not a record", "hello\nS1042000AAFF\n", {{0x2000, 0xAA}}, {{1, "Not an S Record"}}},
        {"lower-case digits", "S1042000aaFF\n", {{0x2000, 0x00}},
         {{1, "Not Hex"}, {1, "Not Hex"}}},
        {"bad address digit", "S1042G00AAFF\n", {{0x2000, 0xAA}}, {{1, "Not Hex"}}},
        {"count without data", "S1032000FF\n", {}, {}},
        {"line ends inside the address", "S1022\n", {}, {{1, "S Record shorter than its byte count"}}},
        {"record shorter than its count", "S1062000AABB\n",
         {{0x2000, 0xAA}, {0x2001, 0xBB}}, {{1, "S Record shorter than its byte count"}}},
        {"bare S", "S\n", {}, {{1, "Unknown S Record"}}},
        {"data past $FFFF wraps", "S105FFFFAABBFF\n", {{0xFFFF, 0xAA}, {0x0000, 0xBB}}, {}},
        {"checksum unread", "S1042000AAZZ\n", {{0x2000, 0xAA}}, {}},
        {"other types", "S2080100002000AA\nS5030001FB\n", {},
         {{1, "Unknown S Record"}, {2, "Unknown S Record"}}},
    };
    for (const Case& c : cases) {
        const TS19Contents contents = ReadS19(c.text);
        ASSERT_EQ(contents.Bytes.size(), c.bytes.size()) << c.name;
        for (std::size_t i = 0; i < c.bytes.size(); ++i)
            EXPECT_THAT(contents.Bytes[i], ByteAt(c.bytes[i].Address, c.bytes[i].Value)) << c.name;
        ASSERT_EQ(contents.Diagnostics.size(), c.diagnostics.size()) << c.name;
        for (std::size_t i = 0; i < c.diagnostics.size(); ++i)
            EXPECT_THAT(contents.Diagnostics[i],
                        Diagnostic(c.diagnostics[i].Line, c.diagnostics[i].Message)) << c.name;
    }
}

}  // namespace
}  // namespace hexmoor
