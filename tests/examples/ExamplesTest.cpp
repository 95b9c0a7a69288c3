// The classic-syntax examples on the fake panel: what a user sees them do.
#include <gmock/gmock.h>

#include <array>
#include <cstdio>

#include "debug/SymbolFiles.h"
#include "examples/ExampleRun.h"

namespace hexmoor::testing {
namespace {

TEST(Examples, PrimesPrintsThePrimesBelow1000TenToALine) {
    std::string expected = "Primes below 1000 on a 68HC11F1:\r\n";
    int printed = 0;
    for (int n = 2; n < 1000; ++n) {
        bool prime = true;
        for (int d = 2; d * d <= n; ++d) prime = prime && n % d != 0;
        if (!prime) continue;
        char field[8];
        std::snprintf(field, sizeof field, "%5d", n);
        expected += field;
        if (++printed % 10 == 0) expected += "\r\n";
    }
    TExampleRun primes("primes");
    EXPECT_EQ(primes.Output(5'000'000), expected + "\r\n");
}

TEST(Examples, LedChaserRunsUpPortBAndBack) {
    constexpr int64_t kStep = 250'000;  // 125 ms of E clock
    struct Case {
        int Step, LitBit;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {7, 7}, {8, 6}, {13, 1}, {14, 0}, {15, 1}};
    TExampleRun chaser("led_chaser");
    for (const Case& c : cases) {
        chaser.Run(c.Step * kStep + kStep / 2 - chaser.m.CycleCount);  // mid-step
        EXPECT_EQ(chaser.Leds(PortBOutput), 1 << c.LitBit) << "step " << c.Step;
    }
    EXPECT_THAT(chaser.Warnings(), ::testing::IsEmpty());
}

TEST(Examples, ClockCountsSecondsOfChipTimeAndCarries) {
    constexpr int64_t kSecond = 2'000'000;
    TExampleRun clock("clock");
    const struct {
        int64_t Cycles;
        const char* Shown;
    } seconds[] = {{10'000, "00:00:00"},
                   {kSecond - 10'000, "00:00:00"},
                   {kSecond + 10'000, "00:00:01"},
                   {2 * kSecond + 10'000, "00:00:02"}};
    for (const auto& c : seconds) {
        clock.Run(c.Cycles - clock.m.CycleCount);
        EXPECT_EQ(clock.Row(2), c.Shown) << "after " << c.Cycles << " cycles";
    }
    EXPECT_EQ(clock.Row(1), "A clock from the real-time interrupt");

    // The time set just after a second was shown; one second later:
    const TSymbolLoad symbols = LoadSymbolFile(ExamplePath("clock.sym"));
    const uint16_t hours = symbols.Table.Find("hours").value();
    const struct {
        std::array<uint8_t, 3> Set;  // hours, minutes, seconds
        const char* Shown;
    } carries[] = {{{0, 0, 59}, "00:01:00"},
                   {{0, 59, 59}, "01:00:00"},
                   {{23, 59, 59}, "00:00:00"},
                   {{12, 34, 56}, "12:34:57"}};
    for (const auto& c : carries) {
        clock.t.Poke(hours, {c.Set.begin(), c.Set.end()});
        clock.Run(kSecond);
        EXPECT_EQ(clock.Row(2), c.Shown);
    }
    EXPECT_THAT(clock.Warnings(), ::testing::IsEmpty());
}

TEST(Examples, SlidersShowTheEightValuesAndAN0AsABar) {
    const struct {
        int Channel, Value;
        uint8_t Bar;  // port B, from AN0
    } cases[] = {{3, 128, 0x00}, {0, 255, 0xFF}, {0, 33, 0x03},
                 {0, 32, 0x01},  {7, 9, 0x01},   {0, 0, 0x00}};
    auto line = [](const std::array<int, 8>& values) {
        std::string text;
        char field[16];
        for (int channel = 0; channel < 8; ++channel) {
            std::snprintf(field, sizeof field, "AN%d=%03d ", channel, values[channel]);
            text += field;
        }
        return text.substr(0, text.size() - 1);
    };
    TExampleRun sliders("sliders");
    sliders.Run(500'000);  // the converter settles for 200 ms
    EXPECT_EQ(sliders.Row(2), line({}));
    std::array<int, 8> values{};
    for (const auto& c : cases) {
        sliders.m.AnalogInputChange(c.Channel, 255 - c.Value);  // from the slider's position
        values[c.Channel] = c.Value;
        sliders.Run(50'000);
        EXPECT_EQ(sliders.Row(2), line(values)) << "AN" << c.Channel << " at " << c.Value;
        EXPECT_EQ(sliders.Leds(PortBOutput), c.Bar) << "AN" << c.Channel << " at " << c.Value;
    }
    EXPECT_EQ(sliders.Output(200'000), "") << "nothing changed, nothing redrawn";
    EXPECT_THAT(sliders.Warnings(), ::testing::IsEmpty());
}

TEST(Examples, LineEditorEchoesTheLineUpperCasedAndReversed) {
    const std::string full(64, 'x');
    const struct {
        std::string Keys, Echo, Upper, Reversed;
    } cases[] = {
        {"Hello, 68HC11\r", "Hello, 68HC11", "HELLO, 68HC11", "11CH86 ,olleH"},
        {"abx\bc\r", "abx\bc", "ABC", "cba"},
        {"\b\177a\007\033b\177c\r", "ab\bc", "AC", "ca"},   // control keys are not kept
        {full + "yz\r", full, std::string(64, 'X'), full},  // a full line takes no more
        {"\r", "", "", ""},
    };
    for (const auto& c : cases) {
        TExampleRun editor("line_editor");
        EXPECT_EQ(editor.Output(20'000),
                  "Line editor: type a line, Backspace corrects it, Enter ends it.\r\n> ");
        editor.Type(c.Keys);
        EXPECT_EQ(editor.Output(200'000),
                  c.Echo + "\r\nupper:    " + c.Upper + "\r\nreversed: " + c.Reversed + "\r\n> ")
            << c.Keys;
    }
}

// Interrupts on both sides: a byte at a time into SCDR, lines typed far ahead of a
// 32-byte receive ring are echoed whole.
TEST(Examples, SerialEchoShowsEachLineAgainThroughTheSci) {
    TExampleRun echo("serial_echo");
    EXPECT_EQ(echo.Output(400'000),
              "Serial echo: type a line through the SCI, Enter shows it again.\r\n> ");
    echo.Type("hello\r");
    EXPECT_EQ(echo.Output(200'000), "hello\r\ngot: hello\r\n> ");
    const std::string lines[] = {std::string(40, 'a'), "0123456789" + std::string(30, 'b'), "end"};
    std::string expected;
    for (const std::string& line : lines) {
        echo.Type(line + "\r");
        expected += line + "\r\ngot: " + line + "\r\n> ";
    }
    EXPECT_EQ(echo.Output(1'500'000), expected);
}

// Downloaded into the RAM, it starts at $0000 and talks through the SCI as the boot loader
// left it; its RTI handler, reached through the pseudo-vector, counts on port B.
TEST(Examples, BootHelloRunsFromTheRamInBootstrapMode) {
    TExampleRun boot("boot_hello", true);
    EXPECT_EQ(boot.Output(300'000), "Hello from the on-chip RAM: type, and I echo in upper case.\r\n");
    boot.Type("ab1\r");
    EXPECT_EQ(boot.Output(100'000), "AB1\r");
    const uint8_t ticks = boot.Leds(PortBOutput);
    boot.Run(40 * 4096);
    EXPECT_NEAR(uint8_t(boot.Leds(PortBOutput) - ticks), 40, 1) << "a tick every 4,096 E cycles";
}

}  // namespace
}  // namespace hexmoor::testing
