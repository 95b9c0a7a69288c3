// Reading one S-record line (damaged records are covered where a load reports them).
#include <gmock/gmock.h>

#include "loader/S19Reader.h"

namespace hexmoor {
namespace {

MATCHER_P2(ByteAt, address, value, "") { return arg.Address == address && arg.Value == value; }

TEST(S19Reader, IntactLines) {
    struct Case {
        const char* name;
        const char* line;
        std::vector<TS19Byte> bytes;
        std::string message;
    } cases[] = {
        {"data record", "S1062000860A3316", {{0x2000, 0x86}, {0x2001, 0x0A}, {0x2002, 0x33}}, ""},
        {"lower-case digits", "S1052010bbcc43", {{0x2010, 0xBB}, {0x2011, 0xCC}}, ""},
        {"blanks after the record", "S1042000AA31 \t ", {{0x2000, 0xAA}}, ""},
        {"data past $FFFF wraps", "S105FFFFAABB97", {{0xFFFF, 0xAA}, {0x0000, 0xBB}}, ""},
        {"count without data", "S1032000DC", {}, ""},
        {"end record", "S9032000DC", {}, ""},
        {"blank line", " \t", {}, ""},
        {"header record", "S00600004844521B", {}, "Unknown S Record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TS19Line line = ReadS19Line(c.line);
        ASSERT_EQ(line.Bytes.size(), c.bytes.size());
        for (std::size_t i = 0; i < c.bytes.size(); ++i)
            EXPECT_THAT(line.Bytes[i], ByteAt(c.bytes[i].Address, c.bytes[i].Value));
        EXPECT_EQ(line.Message, c.message);
        EXPECT_FALSE(line.Damaged);
    }
}

// A line is read up to its end and no further, even where more text follows in memory.
TEST(S19Reader, ALineCutAfterItsSIsAnUnknownRecord) {
    const TS19Line line = ReadS19Line(std::string_view("S1042000AA31", 1));
    EXPECT_EQ(line.Message, "Unknown S Record");
    EXPECT_TRUE(line.Damaged);
}

}  // namespace
}  // namespace hexmoor
