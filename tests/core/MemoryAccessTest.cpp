// The memory primitives: where each access goes, register window, wrap at $FFFF, stacking.
#include <gmock/gmock.h>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(MemoryAccess, ByteStoresAreRoutedByTheRegisterWindow) {
    struct Case {
        uint16_t address;
        int registerOffset;  // -1: plain memory
    } cases[] = {{0x0FFF, -1}, {0x1000, 0}, {0x105F, 95}, {0x1060, -1}};
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.EffectiveAddress = c.address;
        m.DataByte = 0x05;  // within every register's write mask
        m.StoreByte();
        if (c.registerOffset < 0) {
            EXPECT_EQ(m.MemoryImage[c.address], 0x05) << std::hex << c.address;
        } else {
            EXPECT_EQ(m.RegisterBlock[c.registerOffset], 0x05) << std::hex << c.address;
            EXPECT_EQ(m.MemoryImage[c.address], 0x00) << "a register store leaves memory";
        }
    }
}

TEST(MemoryAccess, WordStoresSplitAtEitherWindowEdge) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.OperandWord = 0x1234;
    m.EffectiveAddress = 0x105F;
    m.StoreWord();
    EXPECT_EQ(m.RegisterBlock[95], 0x12);
    EXPECT_EQ(m.MemoryImage[0x1060], 0x34);

    m.EffectiveAddress = 0x0FFF;
    m.OperandWord = 0x5678;
    m.StoreWord();
    EXPECT_EQ(m.MemoryImage[0x0FFF], 0x56);
    EXPECT_EQ(m.RegisterBlock[0], 0x78);
    EXPECT_EQ(m.EffectiveAddress, 0x0FFF) << "the read-out shows the word's address";
}

TEST(MemoryAccess, WordAccessesAtTheTopWrapToZero) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.EffectiveAddress = 0xFFFF;
    m.OperandWord = 0xABCD;
    m.StoreWord();
    EXPECT_EQ(m.MemoryImage[0xFFFF], 0xAB);
    EXPECT_EQ(m.MemoryImage[0x0000], 0xCD);
    m.OperandWord = 0;
    m.LoadWord();
    EXPECT_EQ(m.OperandWord, 0xABCD);
}

// With the block moved to $0000, a word at $FFFF has its second byte in the block.
TEST(MemoryAccess, WordAtTheTopWrapsIntoABlockAtZero) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.RelocateWindows(0x0000, 0x1000);
    m.MemoryImage[0x0000] = 0xEE;
    m.EffectiveAddress = 0xFFFF;
    m.OperandWord = 0x1205;  // $05 lies within PORTA's write mask
    m.StoreWord();
    EXPECT_EQ(m.MemoryImage[0xFFFF], 0x12);
    EXPECT_EQ(m.RegisterBlock[0], 0x05) << "the low byte goes to PORTA";
    EXPECT_EQ(m.MemoryImage[0x0000], 0xEE) << "not to the memory beneath the block";
    m.LoadWord();
    EXPECT_EQ(m.OperandWord, 0x1200) << "the low byte reads PORTA's input pins, not memory";
}

TEST(MemoryAccess, WordLoadsInTheWindowReadTheRegisters) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.RegisterBlock[0x0E] = 0x12;  // TCNT
    m.RegisterBlock[0x0F] = 0x34;
    m.MemoryImage[0x100E] = 0xEE;
    m.MemoryImage[0x100F] = 0xEE;
    t.Place(0x2000, {0xFC, 0x10, 0x0E});  // LDD $100E
    t.Step();
    EXPECT_EQ(m.RegisterD, 0x1234);

    m.MemoryImage[0x105F] = 0xEE;
    m.RegisterBlock[95] = 0x56;
    m.MemoryImage[0x1060] = 0x78;
    m.EffectiveAddress = 0x105F;
    m.LoadWord();
    EXPECT_EQ(m.OperandWord, 0x5678) << "a word straddling the window's end";
}

TEST(MemoryAccess, AMovedRegisterWindowFreesTheOldAddresses) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.MoveRegisterWindow(0x2000);
    m.EffectiveAddress = 0x1000;
    m.DataByte = 0x11;
    m.StoreByte();
    EXPECT_EQ(m.MemoryImage[0x1000], 0x11);
    EXPECT_EQ(m.RegisterBlock[0], 0x00);
    m.EffectiveAddress = 0x2001;
    m.DataByte = 0x22;
    m.StoreByte();
    EXPECT_EQ(m.RegisterBlock[1], 0x22);
}

TEST(MemoryAccess, ReadModifyWriteTakesPortLatchesWithoutSideEffects) {
    struct Case {
        uint8_t offset;
        const char* text;
    } latches[] = {
        {0x00, "PORTA (Load-Store)"},
        {0x02, "PORTG (Load-Store)"},
        {0x06, "PORTC (Load-Store)"},
        {0x08, "PORTD (Load-Store)"},
        {0x1E, "TI4O5 - First Byte (Load-Store)"},
        {0x1F, "TI4O5 - Second Byte (Load-Store)"},
        {0x2A, "SPDR (Load-Store)"},
        {0x2F, "SCDR (Load-Store)"},
    };
    for (const Case& c : latches) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.Panel.InternalRegistersMenu.Checked = true;
        m.RegisterBlock[c.offset] = 0x3C;
        m.EffectiveAddress = uint16_t(0x1000 + c.offset);
        m.LoadByteforStore();
        EXPECT_EQ(m.DataByte, 0x3C);
        ASSERT_EQ(t.Panel.Messages.size(), 1u) << c.text;
        EXPECT_EQ(t.Panel.Messages[0].Text, std::string("Reading $3C from ") + c.text);
        EXPECT_EQ(t.Panel.Messages[0].Kind, TMessageKind::Information);
    }
}

TEST(MemoryAccess, IncrementOnAPortWorksOnItsLatch) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.Panel.InternalRegistersMenu.Checked = true;
    m.RegisterBlock[0x00] = 0x41;
    t.Place(0x2000, {0x7C, 0x10, 0x00});  // INC $1000
    t.Step();
    EXPECT_EQ(m.RegisterBlock[0x00], 0x42);
    EXPECT_EQ(t.Panel.MessageTexts(), (std::vector<std::string>{"Reading $41 from PORTA (Load-Store)",
                                                                "Writing $42 to PORTA"}));
}

TEST(MemoryAccess, LatchMessagesFollowTheirViewOption) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.EffectiveAddress = 0x1000;
    m.LoadByteforStore();
    EXPECT_THAT(t.Panel.Messages, IsEmpty()) << "Internal Registers is unchecked at start";

    m.Panel.InternalRegistersMenu.Checked = true;
    t.Panel.Answers = {TMessageResult::Cancel};
    m.LoadByteforStore();
    m.LoadByteforStore();
    EXPECT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_FALSE(m.Panel.InternalRegistersMenu.Checked);
}

TEST(MemoryAccess, StackRegistersPushesNineBytesAndWraps) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.RegisterSP = 0x0008;
    m.RegisterPC = 0x1122;
    m.RegisterY = 0x3344;
    m.RegisterX = 0x5566;
    m.RegisterA = 0x77;
    m.RegisterB = 0x88;
    m.FlagS = m.FlagX = m.FlagI = m.FlagZ = false;
    m.FlagC = true;
    m.StackRegisters();
    EXPECT_EQ(m.RegisterSP, 0xFFFF);
    std::vector<uint8_t> stacked(m.MemoryImage.begin(), m.MemoryImage.begin() + 9);
    EXPECT_THAT(stacked, ElementsAre(0x01, 0x88, 0x77, 0x55, 0x66, 0x33, 0x44, 0x11, 0x22));
}

TEST(MemoryAccess, FetchWrapsAtTheTopOfMemory) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.MemoryImage[0xFFFF] = 0x86;  // LDAA #
    m.MemoryImage[0x0000] = 0x5A;
    m.RegisterPC = 0xFFFF;
    t.Step();
    EXPECT_EQ(m.RegisterA, 0x5A);
    EXPECT_EQ(m.RegisterPC, 0x0001);
}

TEST(MemoryAccess, CodeInTheRegisterWindowIsFetchedFromMemory) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.MemoryImage[0x1000] = 0x86;  // LDAA #$5A, hidden under the register block
    m.MemoryImage[0x1001] = 0x5A;
    m.RegisterBlock[0] = 0x01;
    m.RegisterPC = 0x1000;
    t.Step();
    EXPECT_EQ(m.RegisterA, 0x5A);
}

}  // namespace
}  // namespace hexmoor::testing
