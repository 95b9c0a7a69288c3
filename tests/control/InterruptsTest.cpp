// Interrupt arbitration: masks, the fixed priority order and HPRIO promotion.
#include <gmock/gmock.h>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

struct TArbitration : TTestMachine {
    TArbitration() {
        Machine->FlagI = Machine->FlagX = false;
        Machine->Panel.InterruptsMenu.Checked = true;
    }
    void Request(uint16_t bits) {
        Machine->PendingInterrupts |= bits;
        Machine->EnabledInterrupts |= bits;
    }
    uint16_t Check() {
        Panel.Messages.clear();
        Machine->CheckForInterrupt();
        return Machine->InterruptVector;
    }
    std::string Message() const { return Panel.Messages.empty() ? "" : Panel.Messages.back().Text; }
};

TEST(Interrupts, EachSourceAloneWithItsMessageAndVector) {
    struct Case {
        uint16_t bit;
        const char* message;
        uint16_t vector;
    } cases[] = {
        {IntIRQ, "IRQ", 0xFFF2},
        {IntRTI, "Real-Time Interrupt", 0xFFF0},
        {IntIC1, "Timer Input Capture 1", 0xFFEE},
        {IntIC2, "Timer Input Capture 2", 0xFFEC},
        {IntIC3, "Timer Input Capture 3", 0xFFEA},
        {IntOC1, "Timer Output Compare 1", 0xFFE8},
        {IntOC2, "Timer Output Compare 2", 0xFFE6},
        {IntOC3, "Timer Output Compare 3", 0xFFE4},
        {IntOC4, "Timer Output Compare 4", 0xFFE2},
        {IntTOF, "Timer Overflow", 0xFFDE},
        {IntPAOV, "Pulse Accumulator Overflow (HPRIO)", 0xFFDC},
        {IntPAI, "Pulse Accumulator Input Edge (HPRIO)", 0xFFDA},
        {IntSCI, "Serial Communications Interface", 0xFFD6},
    };
    for (const Case& c : cases) {
        TArbitration t;
        t.Machine->RegisterBlock[0x3C] = 0x05;  // PSEL 5 promotes nothing
        t.Request(c.bit);
        EXPECT_EQ(t.Check(), c.vector) << c.message;
        EXPECT_EQ(t.Message(), c.message);
        EXPECT_EQ(t.Panel.Messages[0].Kind, TMessageKind::Information);
    }
}

TEST(Interrupts, FixedOrderTakesTheHighestFirst) {
    TArbitration t;
    t.Machine->RegisterBlock[0x3C] = 0x05;
    t.Request(IntPAI | IntTOF | IntOC2 | IntIC3 | IntRTI);
    EXPECT_EQ(t.Check(), 0xFFF0);
    t.Machine->PendingInterrupts &= ~IntRTI;
    EXPECT_EQ(t.Check(), 0xFFEA);
    t.Machine->PendingInterrupts &= ~IntIC3;
    EXPECT_EQ(t.Check(), 0xFFE6);
    EXPECT_EQ(t.Machine->PendingInterrupts & IntOC2, IntOC2) << "only software clears a flag";
}

TEST(Interrupts, HprioPromotesOneSource) {
    struct Case {
        uint8_t psel;
        uint16_t vector;
        const char* message;
    } cases[] = {
        {12, 0xFFE6, "Timer Output Compare 2 (HPRIO)"},
        {5, 0xFFF0, "Real-Time Interrupt"},
        {0, 0xFFDE, "Timer Overflow (HPRIO)"},
        {14, 0xFFF0, "Real-Time Interrupt"},  // OC4 promoted but not pending
    };
    for (const Case& c : cases) {
        TArbitration t;
        t.Machine->RegisterBlock[0x3C] = uint8_t(0x20 | c.psel);
        t.Request(IntOC2 | IntRTI | IntTOF);
        EXPECT_EQ(t.Check(), c.vector) << int(c.psel);
        EXPECT_EQ(t.Message(), c.message) << int(c.psel);
    }
}

// Every PSEL value with every source pending: the chip's HPRIO table decides, and where it
// names a source that is not modelled (SPI, IC4/OC5) the fixed order takes IRQ first.
TEST(Interrupts, EveryPselWithEverySourcePending) {
    constexpr uint16_t kAll = IntIRQ | IntRTI | IntIC1 | IntIC2 | IntIC3 | IntOC1 | IntOC2 | IntOC3 |
                              IntOC4 | IntTOF | IntPAOV | IntPAI | IntSCI;
    const std::pair<uint16_t, const char*> expected[16] = {
        {0xFFDE, "Timer Overflow (HPRIO)"},
        {0xFFDC, "Pulse Accumulator Overflow (HPRIO)"},
        {0xFFDA, "Pulse Accumulator Input Edge (HPRIO)"},
        {0xFFF2, "IRQ"},
        {0xFFD6, "Serial Communications Interface (HPRIO)"},
        {0xFFF2, "IRQ"},
        {0xFFF2, "IRQ (HPRIO)"},
        {0xFFF0, "Real-Time Interrupt (HPRIO)"},
        {0xFFEE, "Timer Input Capture 1 (HPRIO)"},
        {0xFFEC, "Timer Input Capture 2 (HPRIO)"},
        {0xFFEA, "Timer Input Capture 3 (HPRIO)"},
        {0xFFE8, "Timer Output Compare 1 (HPRIO)"},
        {0xFFE6, "Timer Output Compare 2 (HPRIO)"},
        {0xFFE4, "Timer Output Compare 3 (HPRIO)"},
        {0xFFE2, "Timer Output Compare 4 (HPRIO)"},
        {0xFFF2, "IRQ"},
    };
    for (uint8_t psel = 0; psel < 16; ++psel) {
        TArbitration t;
        t.Machine->RegisterBlock[0x3C] = uint8_t(0x20 | psel);
        t.Request(kAll);
        EXPECT_EQ(t.Check(), expected[psel].first) << "PSEL " << int(psel);
        EXPECT_EQ(t.Message(), expected[psel].second) << "PSEL " << int(psel);
    }
}

TEST(Interrupts, PromotedIrqIsClearedWhenTaken) {
    TArbitration t;
    t.Machine->RegisterBlock[0x3C] = 0x06;
    t.Request(IntRTI);
    t.Machine->IrqButtonClick();
    EXPECT_EQ(t.Check(), 0xFFF2);
    EXPECT_EQ(t.Message(), "IRQ (HPRIO)");
    EXPECT_EQ(t.Machine->PendingInterrupts & IntIRQ, 0);
}

TEST(Interrupts, IrqWaitsForIAndOneMoreInstructionAfterCli) {
    TArbitration t;
    TMachine& m = *t.Machine;
    m.FlagI = true;
    m.IrqButtonClick();
    EXPECT_EQ(t.Check(), 0);
    t.Place(0x2000, {0x0E});  // CLI
    t.Step();
    EXPECT_EQ(t.Check(), 0) << "the pass right after CLI takes no interrupt";
    EXPECT_EQ(t.Check(), 0xFFF2);
}

TEST(Interrupts, XirqWaitsForXButIgnoresIAndTheDelay) {
    TArbitration t;
    TMachine& m = *t.Machine;
    m.FlagX = m.FlagI = true;
    m.XIrqButtonClick();
    EXPECT_EQ(t.Check(), 0);
    EXPECT_TRUE(m.XirqLatch);
    m.FlagX = false;
    m.MaskDelay = true;
    EXPECT_EQ(t.Check(), 0xFFF4);
    EXPECT_EQ(t.Message(), "XIRQ");
    EXPECT_FALSE(m.XirqLatch);
    EXPECT_TRUE(m.MaskDelay) << "XIRQ leaves the IRQ delay for the next check";
}

TEST(Interrupts, ARequestNobodyServesIsSpurious) {
    TArbitration t;
    t.Request(IntSPI);
    EXPECT_EQ(t.Check(), 0);
    EXPECT_EQ(t.Message(), "Spurious Interrupt");
    EXPECT_EQ(t.Panel.Messages[0].Kind, TMessageKind::Warning);
}

TEST(Interrupts, MessagesFollowTheInterruptsOption) {
    TArbitration t;
    t.Machine->Panel.InterruptsMenu.Checked = false;
    t.Machine->IrqButtonClick();
    EXPECT_EQ(t.Check(), 0xFFF2);
    EXPECT_TRUE(t.Panel.Messages.empty());
}

}  // namespace
}  // namespace hexmoor::testing
