// The serial communications interface as a program sees it: flags and their clearing
// sequences, frame timing, the receiver fed from the terminal's one input queue, wake-up,
// interrupts, and programs that talk through it.
#include <gmock/gmock.h>

#include <random>
#include <vector>

#include "debug/Peek.h"
#include "examples/ExampleRun.h"
#include "support/MachineDifference.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

constexpr uint8_t kBaud = 0x2B, kSccr1 = 0x2C, kSccr2 = 0x2D, kScsr = 0x2E, kScdr = 0x2F;
constexpr uint8_t kStatusPort = 0x36, kDataPort = 0x37;

// One step of a script: read (r), peek (p) or write (w) a register; type a byte (t);
// let `Value` cycles pass in steps of 10 (c); look for an interrupt with I clear (i).
struct TStep {
    char Op;
    uint8_t Offset = 0;
    int Value = 0;
};

struct TScript {
    const char* Name;
    std::vector<TStep> Steps;
    const char* Screen = "";  // what reached the terminal
};

TStep Read(uint8_t offset, int expected) { return {'r', offset, expected}; }
TStep Peek(uint8_t offset, int expected) { return {'p', offset, expected}; }
TStep Write(uint8_t offset, int value) { return {'w', offset, value}; }
TStep Type(char key) { return {'t', 0, uint8_t(key)}; }
TStep Cycles(int cycles) { return {'c', 0, cycles}; }
TStep Interrupt(int vector) { return {'i', 0, vector}; }

// At BAUD $00 a bit is 16 E cycles: a frame of 10 bits is 160 cycles, of 11 bits 176.
const TScript kScripts[] = {
    {"AfterResetNothingToSendAndEverythingOff",
     {Read(kScsr, 0xC0), Read(kSccr2, 0x00), Read(kBaud, 0x00), Write(kScdr, 'a'), Cycles(400),
      Read(kScsr, 0xC0)}},
    {"TransmitIsDoubleBuffered",
     {Write(kSccr2, 0x08), Read(kScsr, 0xC0), Write(kScdr, 'a'), Read(kScsr, 0x80), Write(kScdr, 'b'),
      Read(kScsr, 0x00), Cycles(150), Read(kScsr, 0x00), Cycles(10), Read(kScsr, 0x80), Cycles(160),
      Read(kScsr, 0xC0)},
     "ab"},
    {"AWriteWithoutAStatusReadClearsNoFlag",
     {Write(kSccr2, 0x08), Write(kScdr, 'a'), Read(kScsr, 0xC0), Cycles(160)},
     "a"},
    {"WrittenStatusBitsDoNothing", {Write(kScsr, 0x00), Read(kScsr, 0xC0)}},
    {"ReceiveOneFrameApartThenIdle",
     {Write(kSccr2, 0x04), Type('a'), Type('b'), Cycles(150), Read(kScsr, 0xC0), Cycles(10),
      Read(kScsr, 0xE0), Read(kScdr, 'a'), Read(kScsr, 0xC0), Cycles(160), Read(kScsr, 0xE0),
      Read(kScdr, 'b'), Cycles(160), Read(kScsr, 0xD0), Read(kScdr, 'b'), Read(kScsr, 0xC0)}},
    {"AScdrReadWithoutAStatusReadLeavesRdrf",
     {Write(kSccr2, 0x04), Type('a'), Cycles(160), Read(kScdr, 'a'), Read(kScsr, 0xE0)}},
    {"TypedAheadBytesWaitInsteadOfOverrunning",
     {Write(kSccr2, 0x04), Type('a'), Type('b'), Type('c'), Cycles(1600), Read(kScsr, 0xE0),
      Read(kScdr, 'a'), Cycles(10), Read(kScsr, 0xE0), Read(kScdr, 'b'), Cycles(160),
      Read(kScsr, 0xE0), Read(kScdr, 'c')}},
    {"NineBitFramesReceiveR8",
     {Write(kSccr1, 0x10), Write(kSccr2, 0x04), Type('a'), Cycles(170), Read(kScsr, 0xC0), Cycles(10),
      Read(kScsr, 0xE0), Read(kSccr1, 0x90), Write(kSccr1, 0x10), Read(kSccr1, 0x90)}},
    {"IdleLineWakeUp", {Write(kSccr2, 0x06), Cycles(150), Read(kSccr2, 0x06), Cycles(10), Read(kSccr2, 0x04)}},
    {"TypedBytesWaitWhileTheReceiverSleeps",
     {Write(kSccr2, 0x06), Type('a'), Cycles(800), Read(kScsr, 0xC0), Read(kSccr2, 0x06),
      Read(kStatusPort, 1), Read(kDataPort, 'a'), Cycles(320), Read(kSccr2, 0x04), Read(kScsr, 0xC0)}},
    {"AddressMarkWakeUp",
     {Write(kSccr1, 0x08), Write(kSccr2, 0x06), Type('a'), Cycles(800), Read(kSccr2, 0x06), Read(kDataPort, 'a'),
      Type('\xC1'), Cycles(160), Read(kSccr2, 0x04), Read(kScsr, 0xE0), Read(kScdr, 0xC1)}},
    {"IdleAfterTheDataPortTookTheNextByte",
     {Write(kSccr2, 0x04), Type('a'), Type('b'), Cycles(320), Read(kDataPort, 'b'), Read(kScsr, 0xE0),
      Read(kScdr, 'a'), Cycles(10), Read(kScsr, 0xD0)}},
    {"AKeyTheDataPortTookNeverReachesTheSci",
     {Write(kSccr2, 0x04), Type('x'), Read(kDataPort, 'x'), Cycles(800), Read(kScsr, 0xC0)}},
    {"PeeksClearNothing",
     {Write(kSccr2, 0x04), Type('a'), Cycles(160), Peek(kScsr, 0xE0), Peek(kScdr, 'a'), Read(kScdr, 'a'),
      Read(kScsr, 0xE0)}},
    {"InterruptSources",
     {Interrupt(0), Write(kSccr2, 0x80), Interrupt(0xFFD6), Write(kSccr2, 0x40), Interrupt(0xFFD6),
      Write(kSccr2, 0x24), Interrupt(0), Type('a'), Cycles(160), Interrupt(0xFFD6), Read(kScsr, 0xE0),
      Read(kScdr, 'a'), Interrupt(0), Write(kSccr2, 0x14), Cycles(160), Interrupt(0xFFD6)}},
};

class SciScript : public ::testing::TestWithParam<TScript> {};

TEST_P(SciScript, ProgramSees) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.ResetMoor(PowerOnReset);
    int index = 0;
    for (const TStep& step : GetParam().Steps) {
        SCOPED_TRACE("step " + std::to_string(index++) + " '" + step.Op + "'");
        switch (step.Op) {
        case 'r': EXPECT_EQ(t.ReadRegister(step.Offset), step.Value); break;
        case 'p': EXPECT_EQ(PeekByte(m, uint16_t(m.IRegBeg + step.Offset)), step.Value); break;
        case 'w': t.WriteRegister(step.Offset, uint8_t(step.Value)); break;
        case 't': m.FormKeyPress(uint8_t(step.Value)); break;
        case 'c':
            for (int cycles = 0; cycles < step.Value; cycles += 10) t.Advance(10);
            break;
        case 'i':
            m.FlagI = false;
            m.CheckForInterrupt();
            EXPECT_EQ(m.InterruptVector, step.Value);
            break;
        }
    }
    EXPECT_EQ(t.Panel.Written, GetParam().Screen);
}

INSTANTIATE_TEST_SUITE_P(Sci, SciScript, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param.Name); });

// Runs a loaded program's passes until its final loop, BAUD and SCCR1 poked at $5000.
void RunToEnd(TTestMachine& t, const std::string& name, std::vector<uint8_t> settings, long passLimit) {
    t.LoadThroughPanel(name);
    t.Poke(0x5000, settings);
    const uint16_t end = t.EndLoopAddress();
    TMachine& m = *t.Machine;
    m.RunPass();
    for (long pass = 0; pass < passLimit && m.RegisterPC != end; ++pass) {
        if ((pass & 0xFFF) == 0) t.Panel.CheckTime();
        m.RunPass();
    }
    ASSERT_EQ(m.RegisterPC, end) << name << " did not end";
}

// A frame is 16 x prescaler x 2^SCR E cycles a bit, 10 or 11 bits. The program reads TCNT
// 4 cycles after writing SCDR and again 7 cycles after the BRCLR that finds TC set, which
// starts 0-6 cycles after the frame ends.
TEST(SciPrograms, AFrameTakesTheCyclesBaudGives) {
    const struct {
        uint8_t Baud, Sccr1;
        int Frame;
    } cases[] = {{0x30, 0x00, 2080}, {0x00, 0x00, 160}, {0x22, 0x00, 2560}, {0x13, 0x10, 16 * 3 * 8 * 11}};
    for (const auto& c : cases) {
        TTestMachine t;
        RunToEnd(t, "sci_frame", {c.Baud, c.Sccr1}, 200'000);
        const int measured = uint16_t(t.Word(0x5004) - t.Word(0x5002));
        EXPECT_GE(measured, c.Frame + 3) << "BAUD $" << std::hex << int(c.Baud);
        EXPECT_LE(measured, c.Frame + 9) << "BAUD $" << std::hex << int(c.Baud);
        EXPECT_EQ(t.Panel.Written, "U");
    }
}

// 64 KiB typed before the program starts come back whole and in order, also in 9-bit frames.
TEST(SciPrograms, APolledEchoLosesNothingTypedAhead) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> printable(' ', '~');
    std::string typed;
    while (typed.size() < 65536) {
        const char key = char(printable(random));
        if (key != '.') typed += key;
    }
    for (uint8_t sccr1 : {0x00, 0x10}) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.LoadThroughPanel("sci_echo");
        t.Poke(0x5000, {0x00, sccr1});
        m.RunPass();
        for (char key : typed + ".") m.FormKeyPress(uint8_t(key));
        m.Panel.RunningLed.Lit = true;
        const uint16_t end = t.EndLoopAddress();
        for (int slice = 0; slice < 10'000 && m.RegisterPC != end; ++slice) {
            m.RunSlice(TRunLimits{}, 4096);
            t.Panel.CheckTime();
        }
        EXPECT_EQ(m.RegisterPC, end);
        EXPECT_TRUE(t.Panel.Written == typed) << "echoed " << t.Panel.Written.size() << " of " << typed.size();
    }
}

// With frames on their way out and typed bytes on their way in, a run in spans stays where
// a run pass by pass is: the polled echo, and the example that echoes by interrupts.
TEST(SciPrograms, SpansLeaveTheSciAsPassesDo) {
    for (const std::string& path : {TestProgramPath("sci_echo"), ExamplePath("serial_echo.s19")}) {
        SCOPED_TRACE(path);
        TTestMachine passes, spans;
        for (TTestMachine* t : {&passes, &spans}) {
            t->Panel.FileName = path;
            t->Machine->LoadClick();
            t->Poke(0x5000, {0x30, 0x00});
            t->Machine->Panel.RunningLed.Lit = true;
            t->Panel.OnWaitForEvents = [] {};
        }
        TMachine& reference = *passes.Machine;
        TMachine& fast = *spans.Machine;
        std::mt19937 random(5);
        std::uniform_int_distribution<uint32_t> length(1, 3000);
        for (int slice = 0; slice < 1500; ++slice) {
            const uint32_t run = fast.RunSlice(TRunLimits{}, length(random));
            for (uint32_t i = 0; i < run; ++i) reference.RunPass();
            ASSERT_EQ(Difference(reference, fast), "") << "after slice " << slice;
            if (slice % 40 == 0)
                for (TMachine* m : {&reference, &fast})
                    for (char key : std::string("line ") + char('a' + slice % 26) + "\r") m->FormKeyPress(uint8_t(key));
            passes.Panel.CheckTime();
        }
        EXPECT_EQ(passes.Panel.Written, spans.Panel.Written);
        EXPECT_THAT(spans.Panel.Written, ::testing::HasSubstr("line m"));
    }
}

}  // namespace
}  // namespace hexmoor::testing
