// Whole programs, assembled by the GNU 68HC11 assembler, run on the CPU.
#include <gmock/gmock.h>

#include <vector>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAreArray;

std::vector<uint8_t> Bytes(const TMachine& m, uint16_t address, int count) {
    return {m.MemoryImage.begin() + address, m.MemoryImage.begin() + address + count};
}

TEST(Programs, BcdAdditionCarriesThroughDaa) {
    TTestMachine t;
    t.RunProgram("bcd_add");
    EXPECT_THAT(Bytes(*t.Machine, 0x4000, 10),
                ElementsAreArray<uint8_t>({0x00, 0x00, 0x00, 0x07, 0x01,    // 1 00000007
                                           0x20, 0x00, 0x00, 0x00, 0x00}));  // 0 20000000
    EXPECT_EQ(t.Machine->RegisterSP, 0x01FF);
    EXPECT_TRUE(t.Panel.Messages.empty()) << t.Panel.Messages.front().Text;
}

TEST(Programs, MultiplyBuildsThirtyTwoBitProducts) {
    TTestMachine t;
    t.RunProgram("multiply32");
    EXPECT_THAT(Bytes(*t.Machine, 0x4000, 8),
                ElementsAreArray<uint8_t>({0x06, 0x26, 0x00, 0x60, 0xFF, 0xFE, 0x00, 0x01}));
}

TEST(Programs, DivisionMakesDecimalTextAndFractions) {
    TTestMachine t;
    t.RunProgram("decimal");
    EXPECT_THAT(Bytes(*t.Machine, 0x4000, 10),
                ElementsAreArray<uint8_t>({'6', '5', '5', '3', '5', '0', '1', '2', '3', '4'}));
    EXPECT_EQ(t.Word(0x400A), 0x5555);  // 1/3 as a binary fraction
    EXPECT_EQ(t.Word(0x400C), 0x0001);
    EXPECT_EQ(t.Machine->MemoryImage[0x0040], 0);  // the direct-page loop counter ran down
}

}  // namespace
}  // namespace hexmoor::testing
