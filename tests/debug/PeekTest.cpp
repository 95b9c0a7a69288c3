// A debugger's views read memory and registers without the effects of a program's read:
// a program runs the same with every byte peeked before every instruction as without.
#include <gmock/gmock.h>

#include <fstream>

#include "debug/Debugger.h"
#include "debug/Peek.h"
#include "registers/RegisterMap.h"
#include "support/MachineDifference.h"
#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

// Everything a program or a user could tell apart, terminal included.
std::string Difference(const TTestMachine& a, const TTestMachine& b) {
    const std::string machine = testing::Difference(*a.Machine, *b.Machine);
    if (!machine.empty()) return machine;
    if (a.Machine->InputBuffer.Size() != b.Machine->InputBuffer.Size()) return "input buffer";
    for (int row = 1; row <= a.Machine->Screen.Rows(); ++row)
        if (a.Machine->Screen.RowText(row) != b.Machine->Screen.RowText(row)) return "screen";
    return "";
}

TEST(Peek, ViewsChangeNothingAProgramCanTell) {
    const std::string input = TempPath("peek-input.txt");
    std::ofstream(input, std::ios::binary) << "line one\nline two.\n";
    struct TCase {
        const char* Program;
        const char* Keys;  // typed before the run: input waits in the buffer
        bool InputFile;    // lines an empty status read would feed
        long Passes;
    };
    const TCase cases[] = {
        {"ad_poll", "", false, 2000},      // an A/D conversion runs; CCF pending
        {"oc2_counter", "", false, 20000},  // timer flags pending, interrupts taken
        {"echo", "hi\rthere.", false, 2000},
        {"status_poll", "", true, 20000},
        {"relocate", "", false, 2000},  // INIT moves the register block
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Program);
        TTestMachine plain, viewed;
        for (TTestMachine* t : {&plain, &viewed}) {
            t->LoadThroughPanel(c.Program);
            t->Machine->RunPass();  // the reset after the load
            for (const char* key = c.Keys; *key; ++key) t->Machine->FormKeyPress(uint8_t(*key));
            if (c.InputFile) {
                ASSERT_TRUE(t->Machine->OpenInputFile(input));
            }
        }
        unsigned sum = 0;
        for (long pass = 0; pass < c.Passes; ++pass) {
            const TMachine& m = *viewed.Machine;
            if (pass % 500 == 0)
                for (uint32_t address = 0; address <= 0xFFFF; ++address) sum += PeekByte(m, uint16_t(address));
            for (int32_t address = m.IRegBeg; address <= m.IRegEnd; ++address)
                sum += PeekWord(m, uint16_t(address));
            plain.Machine->RunPass();
            viewed.Machine->RunPass();
        }
        EXPECT_EQ(Difference(plain, viewed), "") << sum;
    }
    std::remove(input.c_str());
}

// The views show what the program's next read would get, computed where the register
// block stores no byte for it.
TEST(Peek, ShowsWhatAReadWouldGet) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.FormKeyPress('k');
    m.Panel.PortGroups[PortEInput].Leds[2].Lit = true;
    m.RegisterBlock[0x0E] = 0x12;  // TCNT
    m.RegisterBlock[0x0F] = 0x34;
    struct TCase {
        uint16_t Address;
        uint8_t Byte;
    } cases[] = {
        {0x1036, 1}, {0x1037, 'k'}, {0x100A, 0x04}, {0x100E, 0x12}, {0x100F, 0x34}, {0x1041, 0},
    };
    for (const TCase& c : cases) EXPECT_EQ(PeekByte(m, c.Address), c.Byte) << std::hex << c.Address;
    EXPECT_EQ(PeekWord(m, 0x100E), 0x1234);
    m.MemoryImage[0xFFFF] = 0xAB;
    m.MemoryImage[0x0000] = 0xCD;
    EXPECT_EQ(PeekWord(m, 0xFFFF), 0xABCD);
}

// A byte a user types into a view is stored as the program would store it, register rules
// and all, and no watchpoint hears of it; the program's own accesses still stop it.
TEST(Peek, PokesStoreAsAProgramWould) {
    struct TCase {
        uint16_t Address;
        uint8_t Value;
        uint16_t ReadAt;  // where the program finds the byte afterwards
    } cases[] = {
        {0x0040, 0x12, 0x0040},
        {0x1004, 0xA5, 0x1004},  // PORTB
        {0x103D, 0x03, 0x303D},  // INIT moves the register block to $3000
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Address);
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.LoadThroughPanel("debug_target");
        m.RunPass();  // the reset after the load
        TDebugger debugger(m);
        debugger.AddWatchpoint(0x0000, 0xFFFF, "$0000-$FFFF", TWatchAccess::ReadWrite);
        PokeByte(m, c.Address, c.Value);
        EXPECT_EQ(PeekByte(m, c.ReadAt), c.Value);
        uint8_t portB = 0;
        for (int bit = 0; bit < 8; ++bit) portB |= uint8_t(m.Panel.PortGroups[PortBOutput].Leds[bit].Lit << bit);
        EXPECT_EQ(portB, PeekByte(m, uint16_t(m.IRegBeg + PORTB))) << "the port B LEDs show the latch";
        EXPECT_FALSE(debugger.LastStop());
        m.RunClick();
        EXPECT_TRUE(debugger.LastStop()) << "the program's own access stops it";
    }
}

}  // namespace
}  // namespace hexmoor::testing
