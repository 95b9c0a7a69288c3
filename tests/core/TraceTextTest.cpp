// The trace text of each operand class, the panel labels and the log line.
#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/TraceText.h"
#include "support/TestMachine.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

struct TTraceCase {
    std::vector<uint8_t> code;
    uint16_t x, y;
    const char* text;
};

std::string TraceOf(const TTraceCase& c) {
    TTestMachine t;
    t.Place(0x2000, c.code);
    t.Machine->RegisterX = c.x;
    t.Machine->RegisterY = c.y;
    return BuildTraceText(*t.Machine);
}

TEST(TraceText, EveryOperandClass) {
    const TTraceCase cases[] = {
        {{0x01}, 0, 0, "NOP"},
        {{0x18, 0x8F}, 0, 0, "XGDY"},
        {{0x8B, 0x40}, 0, 0, "ADDA #$40"},
        {{0x9B, 0x40}, 0, 0, "ADDA $40"},
        {{0xCC, 0x12, 0x34}, 0, 0, "LDD #$1234"},
        {{0x18, 0x8C, 0x12, 0x34}, 0, 0, "CPY #$1234"},
        {{0x1A, 0x83, 0x12, 0x34}, 0, 0, "CPD #$1234"},
        {{0x9D, 0x12}, 0, 0, "JSR $12"},
        {{0x1A, 0x93, 0x12}, 0, 0, "CPD $12"},
        {{0xFF, 0x12, 0x34}, 0, 0, "STX $1234"},
        {{0x7E, 0x12, 0x34}, 0, 0, "JMP $1234"},
        {{0xA6, 0x12}, 0x1100, 0, "LDAA $12,X (1112)"},
        {{0xA6, 0x20}, 0xFFF0, 0, "LDAA $20,X (0010)"},
        {{0x1A, 0xEE, 0x12}, 0x1100, 0, "LDY $12,X ($1112)"},
        {{0x18, 0xA6, 0x12}, 0, 0x2200, "LDAA $12,Y ($2212)"},
        {{0x18, 0xA6, 0x20}, 0, 0xFFF0, "LDAA $20,Y ($0010)"},
        {{0xCD, 0xEE, 0x12}, 0, 0x2200, "LDX $12,Y ($2212)"},
        {{0x20, 0x12}, 0, 0, "BRA *+$14"},
        {{0x26, 0xF0}, 0, 0, "BNE *-$0E"},
        {{0x8D, 0x12}, 0, 0, "BSR *+$14"},
        {{0x20, 0x7E}, 0, 0, "BRA *+$80"},
        {{0x20, 0xFE}, 0, 0, "BRA *+$00"},
        {{0x20, 0x00}, 0, 0, "BRA *+$02"},
        {{0x20, 0x80}, 0, 0, "BRA *-$7E"},
        {{0x20, 0x7F}, 0, 0, "BRA *+$81"},
        {{0x14, 0x12, 0x34}, 0, 0, "BSET $12 $34"},
        {{0x1D, 0x12, 0x34}, 0x1100, 0, "BCLR $12,X $34 (1112)"},
        {{0x18, 0x1C, 0x12, 0x34}, 0, 0x2200, "BSET $12,Y $34 ($2212)"},
        // Bit-test branches show the true distance: offset plus their own length.
        {{0x12, 0x12, 0x34, 0x10}, 0, 0, "BRSET $12 $34 *+$14"},
        {{0x1F, 0x12, 0x34, 0xFC}, 0x1100, 0, "BRCLR $12,X $34 *+$00 (1112)"},
        {{0x18, 0x1E, 0x12, 0x34, 0x10}, 0, 0x2200, "BRSET $12,Y $34 *+$15 ($2212)"},
        {{0x18, 0x00}, 0, 0, "Illegal Page 2"},
        {{0x1A, 0x00}, 0, 0, "Illegal Page 3"},
        {{0xCD, 0x12}, 0, 0, "Illegal Page 4"},
        {{0x41}, 0, 0, "Illegal Page 1"},
        {{0x00}, 0, 0, "Illegal (TEST)"},
        {{0x48}, 0, 0, "ASLA"},
        {{0x05}, 0, 0, "ASLD"},
        {{0x24, 0x00}, 0, 0, "BCC *+$02"},
    };
    for (const TTraceCase& c : cases) EXPECT_EQ(TraceOf(c), c.text);
}

class TraceLog : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = TempPath("hexmoor_trace_test.log");
        TMachine& m = *t.Machine;
        t.Place(0x2000, {0x96, 0x12});  // LDAA $12
        m.RegisterA = 0x00;
        m.RegisterB = 0xFF;
        m.RegisterX = 0x1100;
        m.RegisterY = 0x2200;
        m.RegisterSP = 0x00FF;
        m.FlagS = m.FlagI = m.FlagZ = true;
        m.FlagX = m.FlagH = m.FlagN = m.FlagV = m.FlagC = false;
        m.CycleCount = 1234;
    }
    void TearDown() override { std::remove(path_.c_str()); }

    std::string LogContents() const {
        std::ifstream file(path_);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    TTestMachine t;
    std::string path_;
};

TEST_F(TraceLog, DecodeShowsTheInstructionAndWritesTheLogLine) {
    TMachine& m = *t.Machine;
    ASSERT_TRUE(m.OpenLogFile(path_));
    m.DecodeInstruction();
    EXPECT_EQ(m.Panel.InstructionLabel, "LDAA $12");
    EXPECT_EQ(m.Panel.RegisterPCDisplay.Text, "2000");
    EXPECT_EQ(m.Panel.CyclesValueLabel, "           1234");
    EXPECT_EQ(LogContents(), "2000 LDAA $12" + std::string(14, ' ') +
                                 "A: 00  B: FF  X: 1100  Y: 2200  SP: 00FF  CCR: S  I Z  \n");
    EXPECT_EQ(m.RegisterPC, 0x2000) << "decoding changes nothing";
}

TEST_F(TraceLog, LongTraceTextIsNotPadded) {
    TMachine& m = *t.Machine;
    t.Place(0x2000, {0x18, 0x1E, 0x12, 0x34, 0x10});  // BRSET $12,Y $34 *+$15 ($2312)
    ASSERT_TRUE(m.OpenLogFile(path_));
    m.DecodeInstruction();
    EXPECT_THAT(LogContents(), ::testing::StartsWith("2000 BRSET $12,Y $34 *+$15 ($2212)A: 00"));
}

TEST_F(TraceLog, NothingIsWrittenWhileTheLogIsClosed) {
    TMachine& m = *t.Machine;
    ASSERT_TRUE(m.OpenLogFile(path_));
    m.CloseLogFile();
    m.DecodeInstruction();
    EXPECT_EQ(LogContents(), "");
}

TEST_F(TraceLog, AFailedWriteIsReportedOnceAndClosesTheLog) {
    TMachine& m = *t.Machine;
    ASSERT_TRUE(m.OpenLogFile("/dev/full"));
    m.DecodeInstruction();
    m.DecodeInstruction();
    EXPECT_FALSE(m.LogFile.IsOpen());
    ASSERT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_THAT(t.Panel.Messages[0].Text, ::testing::HasSubstr("/dev/full"));
    EXPECT_EQ(m.Panel.InstructionLabel, "LDAA $12") << "the panel still shows the instruction";
}

TEST_F(TraceLog, AFileThatCannotBeCreatedIsReported) {
    TMachine& m = *t.Machine;
    EXPECT_FALSE(m.OpenLogFile("/nonexistent-directory/trace.log"));
    EXPECT_FALSE(m.LogFile.IsOpen());
    ASSERT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_THAT(t.Panel.Messages[0].Text,
                ::testing::HasSubstr("/nonexistent-directory/trace.log: No such file"));
}

}  // namespace
}  // namespace hexmoor::testing
