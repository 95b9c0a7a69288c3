// Whole programs that depend on simulated time, run pass by pass.
#include <gmock/gmock.h>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

TEST(TimedPrograms, OutputCompareInterruptsCountMatches) {
    TTestMachine t;
    t.RunPasses("oc2_counter");
    const TMachine& m = *t.Machine;
    EXPECT_EQ(m.MemoryImage[0x4000], 5);
    EXPECT_GE(m.CycleCount, 5000);
    EXPECT_LT(m.CycleCount, 6000);
    EXPECT_EQ(m.RegisterSP, 0x01FF);
}

TEST(TimedPrograms, RealTimeInterruptCounter) {
    TTestMachine t;
    t.RunPasses("rti_counter");
    const TMachine& m = *t.Machine;
    EXPECT_EQ(m.MemoryImage[0x4000], 3);
    // Requests at 4096, 8191 and 12286 cycles after reset.
    EXPECT_GE(m.CycleCount, 4096 + 2 * 4095);
    EXPECT_LT(m.CycleCount, 4096 + 2 * 4095 + 100);
}

TEST(TimedPrograms, PollingTheConverter) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.Panel.WarningsMenu.Checked = false;  // converting while it stabilises
    const uint8_t levels[] = {0x10, 0x20, 0x30, 0x40};
    for (int i = 0; i < 4; ++i) m.AnalogInputChange(4 + i, 255 - levels[i]);
    t.RunPasses("ad_poll");
    EXPECT_THAT(std::vector<uint8_t>(m.MemoryImage.begin() + 0x4000, m.MemoryImage.begin() + 0x4004),
                ::testing::ElementsAreArray(levels));
}

}  // namespace
}  // namespace hexmoor::testing
