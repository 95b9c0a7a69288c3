// Reading one S-record line.
#include <gmock/gmock.h>

#include "loader/S19Reader.h"

namespace hexmoor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

MATCHER_P2(ByteAt, address, value, "") { return arg.Address == address && arg.Value == value; }

TEST(S19Reader, DataRecordAtItsAddress) {
    const TS19Line line = ReadS19Line("S1062000860A33FF");
    EXPECT_THAT(line.Bytes, ElementsAre(ByteAt(0x2000, 0x86), ByteAt(0x2001, 0x0A),
                                        ByteAt(0x2002, 0x33)));
    EXPECT_THAT(line.Messages, IsEmpty());
    EXPECT_THAT(ReadS19Line("S9032000DC").Messages, IsEmpty()) << "the end record";
    EXPECT_THAT(ReadS19Line("").Messages, IsEmpty()) << "an empty line";
}

TEST(S19Reader, ProblemsAreReportedAndReadingGoesOn) {
    struct Case {
        const char* name;
        const char* line;
        std::vector<TS19Byte> bytes;
        std::vector<std::string> messages;
    } cases[] = {
        {"header record", "S00600004844521B", {}, {"Unknown S Record"}},
        {"not a record", "hello", {}, {"Not an S Record"}},
        {"lower-case digits", "S1042000aaFF", {{0x2000, 0x00}}, {"Not Hex", "Not Hex"}},
        {"bad address digit", "S1042G00AAFF", {{0x2000, 0xAA}}, {"Not Hex"}},
        {"bad count digit", "S1x42000AAFF", {{0x2000, 0xAA}}, {"Not Hex"}},
        {"count without data", "S1032000FF", {}, {}},
        {"line ends inside the address", "S1022", {}, {"S Record shorter than its byte count"}},
        {"line ends inside the count", "S10", {}, {"S Record shorter than its byte count"}},
        {"record shorter than its count", "S1062000AABB",
         {{0x2000, 0xAA}, {0x2001, 0xBB}}, {"S Record shorter than its byte count"}},
        {"bare S", "S", {}, {"Unknown S Record"}},
        {"data past $FFFF wraps", "S105FFFFAABBFF", {{0xFFFF, 0xAA}, {0x0000, 0xBB}}, {}},
        {"checksum unread", "S1042000AAZZ", {{0x2000, 0xAA}}, {}},
        {"S2", "S2080100002000AA", {}, {"Unknown S Record"}},
        {"S5", "S5030001FB", {}, {"Unknown S Record"}},
    };
    for (const Case& c : cases) {
        const TS19Line line = ReadS19Line(c.line);
        ASSERT_EQ(line.Bytes.size(), c.bytes.size()) << c.name;
        for (std::size_t i = 0; i < c.bytes.size(); ++i)
            EXPECT_THAT(line.Bytes[i], ByteAt(c.bytes[i].Address, c.bytes[i].Value)) << c.name;
        EXPECT_EQ(line.Messages, c.messages) << c.name;
    }
}

}  // namespace
}  // namespace hexmoor
