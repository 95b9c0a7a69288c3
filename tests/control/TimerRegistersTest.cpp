// The timer as a program drives it: settings written to its registers, the counter, flags
// and pins read back after a number of cycles.
#include <gmock/gmock.h>

#include "registers/RegisterMap.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

// A machine just out of reset, so that the protected registers still take their write.
struct TTimer : TTestMachine {
    TTimer() { Machine->ResetMoor(ExternalReset); }

    void WriteWord(uint8_t offset, uint16_t value) {
        WriteRegister(offset, uint8_t(value >> 8));
        WriteRegister(uint8_t(offset + 1), uint8_t(value));
    }
    // Advances one cycle at a time until the flag reads set; returns the cycles taken.
    int64_t CyclesUntil(uint8_t flagRegister, uint8_t flag, int64_t limit) {
        int64_t cycles = 0;
        while (!(ReadRegister(flagRegister) & flag) && cycles < limit) {
            Advance(1);
            ++cycles;
        }
        return cycles;
    }
    // The port A output LEDs as a byte.
    uint8_t PortALeds() const {
        uint8_t leds = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (Machine->Panel.PortGroups[PortAOutput].Leds[bit].Lit) leds |= uint8_t(1 << bit);
        return leds;
    }
};

TEST(TimerRegisters, EveryPrescalerSettingAndTheCounterWrap) {
    struct Case {
        uint8_t tmsk2;
        uint16_t after30;   // TCNT after ten 3-cycle passes: the remainder carries over
        int64_t overflow;   // the cycle at which TCNT wraps to 0 and TOF sets
    } cases[] = {
        {0x00, 30, 65536}, {0x01, 7, 4 * 65536}, {0x02, 3, 8 * 65536}, {0x03, 1, 16 * 65536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "TMSK2 PR = " << int(c.tmsk2));
        TTimer t;
        t.WriteRegister(TMSK2, c.tmsk2);
        for (int pass = 0; pass < 10; ++pass) t.Advance(3);
        EXPECT_EQ(t.ReadRegisterWord(TCNT), c.after30);
        EXPECT_EQ(t.ReadRegister(TFLG2), 0x00);
        EXPECT_EQ(30 + t.CyclesUntil(TFLG2, 0x80, 17 * 65536), c.overflow);
        EXPECT_EQ(t.ReadRegisterWord(TCNT), 0x0000);
    }
}

TEST(TimerRegisters, EveryRealTimeInterruptRate) {
    // The first tick comes at 4096 cycles, the later ones every 4095; RTR1:RTR0 choose how
    // many ticks make one RTIF.
    struct Case {
        uint8_t pactl;
        int64_t first, second;
    } cases[] = {
        {0x00, 4096, 4096 + 4095},
        {0x01, 4096 + 4095, 4096 + 3 * 4095},
        {0x02, 4096 + 3 * 4095, 4096 + 7 * 4095},
        {0x03, 4096 + 7 * 4095, 4096 + 15 * 4095},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "PACTL $" << std::hex << int(c.pactl));
        TTimer t;
        t.WriteRegister(PACTL, c.pactl);
        const int64_t first = t.CyclesUntil(TFLG2, 0x40, 70000);
        EXPECT_EQ(first, c.first);
        t.WriteRegister(TFLG2, 0x40);
        EXPECT_EQ(t.ReadRegister(TFLG2), 0x00) << "writing the flag with 1 clears it";
        EXPECT_EQ(first + t.CyclesUntil(TFLG2, 0x40, 70000), c.second);
    }
}

TEST(TimerRegisters, OutputCompareOnePinActions) {
    // PORTA's latch sets the LEDs first; TOC1 then matches and drives each pin that OC1M
    // selects to its OC1D level. Bits 2-0 of both registers do not exist.
    struct Case {
        uint8_t oc1m, oc1d, before, after;
    } cases[] = {
        {0x80, 0x80, 0x00, 0x80}, {0x80, 0x00, 0xFF, 0x7F}, {0x40, 0x40, 0x00, 0x40},
        {0x40, 0x00, 0xFF, 0xBF}, {0x20, 0x20, 0x00, 0x20}, {0x20, 0x00, 0xFF, 0xDF},
        {0x10, 0x10, 0x00, 0x10}, {0x10, 0x00, 0xFF, 0xEF}, {0x08, 0x08, 0x00, 0x08},
        {0x08, 0x00, 0xFF, 0xF7}, {0xFF, 0xAF, 0x55, 0xAD}, {0x07, 0x07, 0x00, 0x00},
        {0x00, 0xFF, 0x00, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << "OC1M $" << int(c.oc1m) << " OC1D $"
                                          << int(c.oc1d) << " LEDs $" << int(c.before));
        TTimer t;
        t.WriteRegister(PORTA, c.before);
        t.WriteRegister(OC1M, c.oc1m);
        t.WriteRegister(OC1D, c.oc1d);
        t.WriteWord(TOC1, 0x0010);
        t.Advance(20);
        EXPECT_EQ(t.PortALeds(), c.after);
        EXPECT_EQ(t.ReadRegister(TFLG1), 0x80);
        EXPECT_EQ(t.ReadLatch(PORTA), c.before) << "the pins act on the LEDs, not the latch";
    }
}

TEST(TimerRegisters, OutputCompareTwoToFivePinActions) {
    // Only the compare under test is moved into reach; TCTL1 chooses toggle, clear or set
    // for OC2 on PA6, OC3 on PA5, OC4 on PA4. OC5 drives nothing and is not timed.
    struct Case {
        const char* name;
        uint8_t compare, tctl1, before, after, flag;
    } cases[] = {
        {"OC2 toggles on", TOC2, 0x40, 0x00, 0x40, 0x40},
        {"OC2 toggles off", TOC2, 0x40, 0xFF, 0xBF, 0x40},
        {"OC2 clears", TOC2, 0x80, 0xFF, 0xBF, 0x40},
        {"OC2 sets", TOC2, 0xC0, 0x00, 0x40, 0x40},
        {"OC3 toggles", TOC3, 0x10, 0x00, 0x20, 0x20},
        {"OC3 clears", TOC3, 0x20, 0xFF, 0xDF, 0x20},
        {"OC3 sets", TOC3, 0x30, 0x00, 0x20, 0x20},
        {"OC4 toggles", TOC4, 0x04, 0xFF, 0xEF, 0x10},
        {"OC4 clears", TOC4, 0x08, 0xFF, 0xEF, 0x10},
        {"OC4 sets", TOC4, 0x0C, 0x00, 0x10, 0x10},
        {"OC2 without an action", TOC2, 0x3F, 0x55, 0x55, 0x40},
        {"OC5 sets nothing", TI4O5, 0x03, 0x00, 0x00, 0x00},
        {"OC5 clears nothing", TI4O5, 0x02, 0xFF, 0xFF, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTimer t;
        t.WriteRegister(TCTL1, c.tctl1);
        t.WriteRegister(PORTA, c.before);
        t.WriteWord(c.compare, 0x0010);
        t.Advance(20);
        EXPECT_EQ(t.PortALeds(), c.after);
        EXPECT_EQ(t.ReadRegister(TFLG1), c.flag);
    }
}

TEST(TimerRegisters, WatchdogTimesOutOnceForEveryRate) {
    // With NOCOP clear, the first OPTION write sets CR1:CR0 and restarts the watchdog; a
    // timeout is not repeated until the program restarts it.
    struct Case {
        uint8_t option;
        int64_t timeout;
    } cases[] = {{0x10, 32768}, {0x11, 4 * 32768}, {0x12, 16 * 32768}, {0x13, 64 * 32768}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "OPTION $" << std::hex << int(c.option));
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.ChipConfig = 0x0A;
        m.ResetMoor(ExternalReset);
        t.WriteRegister(OPTION, c.option);
        std::vector<int64_t> timeouts;
        for (int64_t cycle = 16; cycle <= 130 * 32768; cycle += 16) {
            t.Advance(16);
            if (m.RunState == RunCopReset) {
                timeouts.push_back(cycle);
                m.RunState = RunNormal;
            }
        }
        EXPECT_THAT(timeouts, ::testing::ElementsAre(c.timeout));
    }
}

// Gated time accumulation counts one PACNT step for every 64 E cycles the gate is open,
// the remainder carried from pass to pass.
TEST(TimerRegisters, GatedPulseAccumulatorCountsEvery64Cycles) {
    struct Case {
        int passes, cycles;
        uint8_t count;
    } cases[] = {{63, 1, 0}, {64, 1, 1}, {639, 1, 9}, {640, 1, 10}, {91, 7, 9}, {92, 7, 10}};
    for (const Case& c : cases) {
        TTimer t;
        t.WriteRegister(PACTL, 0x70);  // gated while PA7 is low, and it is low
        for (int pass = 0; pass < c.passes; ++pass) t.Advance(c.cycles);
        EXPECT_EQ(t.ReadRegister(PACNT), c.count) << c.passes << " passes of " << c.cycles;
    }
}

}  // namespace
}  // namespace hexmoor::testing
