// Packing and unpacking the condition-code register.
#include <gtest/gtest.h>

#include "core/ConditionCodes.h"

namespace hexmoor {
namespace {

TEST(ConditionCodes, PackPutsEachFlagAtItsBit) {
    TConditionCodes flags;
    flags.FlagS = flags.FlagX = flags.FlagH = flags.FlagI = false;
    flags.FlagN = flags.FlagZ = flags.FlagV = flags.FlagC = false;
    EXPECT_EQ(flags.PackedCcr(), 0x00);
    bool TConditionCodes::*order[] = {&TConditionCodes::FlagC, &TConditionCodes::FlagV,
                                      &TConditionCodes::FlagZ, &TConditionCodes::FlagN,
                                      &TConditionCodes::FlagI, &TConditionCodes::FlagH,
                                      &TConditionCodes::FlagX, &TConditionCodes::FlagS};
    for (int bit = 0; bit < 8; ++bit) {
        TConditionCodes one = flags;
        one.*order[bit] = true;
        EXPECT_EQ(one.PackedCcr(), 1 << bit) << "bit " << bit;
    }
}

TEST(ConditionCodes, UnpackCanClearXButNeverSetIt) {
    struct Case {
        bool xBefore;
        uint8_t ccr;
        bool xAfter;
    } cases[] = {
        {true, 0x00, false},
        {true, 0x40, true},
        {false, 0x40, false},
        {false, 0xFF, false},
    };
    for (const Case& c : cases) {
        TConditionCodes flags;
        flags.FlagX = c.xBefore;
        flags.UnpackCcr(c.ccr);
        EXPECT_EQ(flags.FlagX, c.xAfter) << std::hex << int(c.ccr);
        EXPECT_EQ(flags.PackedCcr() & 0xBF, c.ccr & 0xBF) << "the other bits follow the byte";
    }
}

}  // namespace
}  // namespace hexmoor
