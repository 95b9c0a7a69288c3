// Register reads: values, messages and the side effects that reads do not have.
#include <gmock/gmock.h>

#include <functional>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAreArray;

struct TReadCase {
    const char* name;
    uint8_t offset;
    uint8_t value;  // DataByte after the read
    std::vector<std::string> messages;
    std::function<void(TMachine&)> setup = nullptr;
};

std::ostream& operator<<(std::ostream& out, const TReadCase& c) { return out << c.name; }

class RegisterReads : public ::testing::TestWithParam<TReadCase> {};

TEST_P(RegisterReads, ValueAndMessage) {
    const TReadCase& c = GetParam();
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.ResetMoor(ExternalReset);
    m.Panel.InternalRegistersMenu.Checked = true;
    m.DataByte = 0x5A;
    if (c.setup) c.setup(m);
    t.Panel.Messages.clear();
    m.EffectiveAddress = uint16_t(0x1000 + c.offset);
    m.LoadByte();
    EXPECT_EQ(m.DataByte, c.value);
    EXPECT_THAT(t.Panel.MessageTexts(), ElementsAreArray(c.messages));
}

INSTANTIATE_TEST_SUITE_P(
    Registers, RegisterReads,
    ::testing::Values(
        TReadCase{"Ddra", 0x01, 0x00, {"Reading $00 from DDRA"}},
        TReadCase{"PortaInputPinsComeFromTheLeds", 0x00, 0x81, {"Reading $81 from PORTA"},
                  [](TMachine& m) {
                      m.RegisterBlock[0x01] = 0x80;  // PA7 output, the rest inputs
                      m.RegisterBlock[0x00] = 0x80;
                      m.Panel.PortGroups[PortAInput].Leds[0].Lit = true;
                      m.Panel.PortGroups[PortAInput].Leds[7].Lit = false;
                  }},
        TReadCase{"PortdHasSixPins", 0x08, 0x3F, {"Reading $3F from PORTD"},
                  [](TMachine& m) {
                      for (TLed& led : m.Panel.PortGroups[PortDInput].Leds) led.Lit = true;
                  }},
        TReadCase{"Porte", 0x0A, 0x04, {"Reading $04 from PORTE"},
                  [](TMachine& m) { m.Panel.PortGroups[PortEInput].Leds[2].Lit = true; }},
        TReadCase{"PorteDuringAConversion", 0x0A, 0x00,
                  {"Reading $00 from PORTE (A/D Conversion in progress)"},
                  [](TMachine& m) { m.AdConversionDelay = 12; }},
        TReadCase{"CforcIsWriteOnly", 0x0B, 0x00, {"Reading $00 from CFORC (Write Only Register)"}},
        TReadCase{"TcntHigh", 0x0E, 0x12, {"Reading $12 from TCNT (First Byte)"},
                  [](TMachine& m) { m.RegisterBlock[0x0E] = 0x12; }},
        TReadCase{"Toc3Low", 0x1B, 0xFF, {"Reading $FF from TOC3 (Second Byte)"}},
        TReadCase{"Ti4o5KeepsDataByte", 0x1E, 0x5A, {"Reading $5A from TI4O5 (First Byte) not Implemented"}},
        TReadCase{"ScsrAfterResetHasNothingToSend", 0x2E, 0xC0, {"Reading $C0 from SCSR"}},
        TReadCase{"CoprstAfterReset", 0x3A, 0x55, {"Reading $55 from COPRST"}},
        TReadCase{"TerminalStatus", 0x36, 0x01, {}, [](TMachine& m) { m.InputBuffer.Assign("x"); }},
        TReadCase{"Unassigned", 0x41, 0x00, {"Reading from Register $41"}},
        TReadCase{"PrinterOffsetReadsAsUnassigned", 0x40, 0x00, {"Reading from Register $40"}}),
    [](const auto& info) { return info.param.name; });

TEST(RegisterReadSequences, FlagsStaySetWhenRead) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.RegisterBlock[0x23] = 0x40;
    for (int i = 0; i < 2; ++i) {
        m.EffectiveAddress = 0x1023;
        m.LoadByte();
        EXPECT_EQ(m.DataByte, 0x40);
    }
}

TEST(RegisterReadSequences, WarningsOnlyShowWriteOnlyReads) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.Panel.InternalRegistersMenu.Checked = false;
    for (uint16_t address : {0x100B, 0x1001}) {
        m.EffectiveAddress = address;
        m.LoadByte();
    }
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"Reading $00 from CFORC (Write Only Register)"});
}

TEST(RegisterReadSequences, WordLoadOfTheTimerReadsBothBytes) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.Panel.InternalRegistersMenu.Checked = true;
    m.RegisterBlock[0x0E] = 0x12;
    m.RegisterBlock[0x0F] = 0x34;
    t.Place(0x2000, {0xFC, 0x10, 0x0E});  // LDD $100E
    t.Step();
    EXPECT_EQ(m.RegisterD, 0x1234);
    EXPECT_EQ(t.Panel.MessageTexts(),
              (std::vector<std::string>{"Reading $12 from TCNT (First Byte)",
                                        "Reading $34 from TCNT (Second Byte)"}));
}

// Messages name the byte of a 16-bit register (TCNT, TIC1-TIC3, TOC1-TOC4, TI4O5, at
// $0E-$1F), and every other register plainly.
TEST(RegisterReadSequences, MessagesNameTheByteOfSixteenBitRegisters) {
    for (uint8_t offset = 0; offset < 0x60; ++offset) {
        if (offset == 0x37) continue;  // the terminal data port waits for a key
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.ResetMoor(ExternalReset);
        m.Panel.InternalRegistersMenu.Checked = m.Panel.WarningsMenu.Checked = true;
        t.Panel.Messages.clear();
        t.ReadRegister(offset);
        const bool word = offset >= 0x0E && offset <= 0x1F;
        for (const std::string& text : t.Panel.MessageTexts()) {
            const bool first = text.find("(First Byte)") != std::string::npos;
            const bool second = text.find("(Second Byte)") != std::string::npos;
            EXPECT_EQ(first, word && offset % 2 == 0) << text;
            EXPECT_EQ(second, word && offset % 2 == 1) << text;
        }
    }
}

}  // namespace
}  // namespace hexmoor::testing
