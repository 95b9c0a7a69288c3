// The board tour example, loaded through the Load control and run on a machine with a
// scripted panel: what its LEDs and its terminal show.
#include <gmock/gmock.h>

#include <array>
#include <cstdio>
#include <optional>

#include "examples/ExampleRun.h"
#include "registers/RegisterMap.h"

namespace hexmoor::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr int64_t kBannerCycles = 20'000;   // clearing the screen and the banner
constexpr int64_t kFirstValues = 600'000;  // the converter settled, the first set printed
// A set is read every 80 ms of chip time; a change just after its channel was sampled
// shows in the set after the next: 160 ms.
constexpr int64_t kChangeShown = 400'000;

struct TBoardTour : TExampleRun {
    TBoardTour() : TExampleRun("board_tour") {}
};

std::string ValuesLine(const std::array<int, 8>& values) {
    std::string line = "A/D";
    char field[16];
    for (int channel = 0; channel < 8; ++channel) {
        std::snprintf(field, sizeof field, "  AN%d=%03d", channel, values[channel]);
        line += field;
    }
    return line + "\r\n";
}

TEST(BoardTour, PortBCountsFourTimesASecondOfChipTime) {
    struct Case {
        int64_t Cycles;  // since the load; the E clock runs at 2 MHz
        uint8_t Count;
    };
    const Case cases[] = {
        {480'000, 0}, {520'000, 1}, {980'000, 1}, {1'020'000, 2}, {4'980'000, 9},
        {5'020'000, 10}, {64'020'000, 128},
    };
    TBoardTour tour;
    for (const Case& c : cases) {
        tour.Run(c.Cycles - tour.m.CycleCount);
        EXPECT_EQ(tour.Leds(PortBOutput), c.Count) << "after " << c.Cycles << " cycles";
    }
    EXPECT_THAT(tour.Warnings(), ::testing::IsEmpty());
}

TEST(BoardTour, PrintsTheEightValuesWhenASliderMoves) {
    struct Case {
        int Channel, Value;
    };
    const Case cases[] = {{3, 128}, {0, 255}, {7, 9}, {4, 100}, {3, 0}};
    TBoardTour tour;
    EXPECT_THAT(tour.Output(kFirstValues), EndsWith(ValuesLine({})));
    std::array<int, 8> values{};
    for (const Case& c : cases) {
        tour.m.AnalogInputChange(c.Channel, 255 - c.Value);
        values[c.Channel] = c.Value;
        EXPECT_EQ(tour.Output(kChangeShown), ValuesLine(values))
            << "AN" << c.Channel << " at " << c.Value;
    }
    EXPECT_EQ(tour.Output(2 * kChangeShown), "") << "nothing changed, nothing printed";
    EXPECT_THAT(tour.Warnings(), ::testing::IsEmpty());
}

TEST(BoardTour, EchoesTypedKeys) {
    struct Case {
        std::string Keys, Shown;
    };
    const Case cases[] = {
        {"hello", "hello"},
        {"ab\rc", "ab\r\nc"},
        {"x\by", "x\by"},
        {"\x07" "a\x1b" "b", "ab"},  // a 7 would start a terminal command
    };
    for (const Case& c : cases) {
        TBoardTour tour;
        tour.Run(kBannerCycles);
        tour.Type(c.Keys);
        EXPECT_EQ(tour.Output(kBannerCycles), c.Shown) << c.Keys;
    }
}

TEST(BoardTour, ReportsStartOnALineOfTheirOwnAfterTypedKeys) {
    TBoardTour tour;
    tour.Run(kBannerCycles);
    tour.Type("abc");
    EXPECT_EQ(tour.Output(kFirstValues), "abc\r\n" + ValuesLine({}));
    tour.Type("d\r");
    tour.m.AnalogInputChange(1, 255 - 1);
    EXPECT_EQ(tour.Output(kChangeShown), "d\r\n" + ValuesLine({0, 1}));
    tour.Type("xy");
    EXPECT_EQ(tour.Output(kBannerCycles), "xy");
    tour.m.InputLedClick(PortAInput, 0);
    EXPECT_THAT(tour.Output(kBannerCycles), StartsWith("\r\nPA0 went high"));
}

TEST(BoardTour, ReportsEdgesOnPA0AndShowsTheLevelOnPA6) {
    struct Case {
        int Bit;             // the port A input LED clicked
        std::string Report;  // what the program prints, before the captured time
        bool PA6;
    };
    const Case cases[] = {
        {0, "PA0 went high", true},
        {4, "", true},  // a plain input: no capture, no report
        {0, "PA0 went low", false},
        {0, "PA0 went high", true},
    };
    TBoardTour tour;
    tour.Run(kBannerCycles);
    for (const Case& c : cases) {
        char time[8];
        std::snprintf(time, sizeof time, "%04X", unsigned(tour.t.ReadRegisterWord(TCNT)));
        tour.m.InputLedClick(PortAInput, c.Bit);
        const std::string expected =
            c.Report.empty() ? "" : c.Report + ", captured at TCNT $" + time + "\r\n";
        EXPECT_EQ(tour.Output(kBannerCycles), expected) << "PA" << c.Bit;
        EXPECT_EQ(tour.m.Panel.PortGroups[PortAOutput].Leds[6].Lit, c.PA6) << "PA" << c.Bit;
    }
}

// A reset keeps the on-chip RAM: the tour must set up all of its state again.
TEST(BoardTour, StartsOverAfterAReset) {
    TBoardTour tour;
    tour.m.AnalogInputChange(2, 255 - 50);
    tour.Run(1'100'000);
    tour.Type("q");
    tour.m.InputLedClick(PortAInput, 0);
    tour.m.ResetButtonClick();
    // The pending capture interrupt is entered first; the reset follows a pass later and
    // starts the cycle count again.
    for (int pass = 0; pass < 3 && tour.m.ResetRequest; ++pass) tour.m.RunPass();
    ASSERT_FALSE(tour.m.ResetRequest);
    std::string output = tour.Output(kBannerCycles);
    EXPECT_EQ(tour.Leds(PortBOutput), 0) << "a reset leaves LEDs lit";
    output += tour.Output(kFirstValues - kBannerCycles);
    EXPECT_THAT(output, StartsWith("68HC11F1 board tour\r\n"));
    EXPECT_THAT(output, EndsWith("\r\n\r\n" + ValuesLine({0, 0, 50})));
    EXPECT_EQ(tour.Leds(PortBOutput), 1);
    EXPECT_THAT(tour.Warnings(), ::testing::IsEmpty());
}

// The window's untraced run: keys typed and a slider moved between passes reach the
// program, and the run ends when stopped.
TEST(BoardTour, RunsUntracedUntilStopped) {
    TBoardTour tour;
    std::optional<int64_t> typedAt;
    tour.t.Panel.OnPump = [&] {
        if (!typedAt) {
            typedAt = tour.m.CycleCount;
            tour.Type("go\r");
            tour.m.AnalogInputChange(5, 255 - 42);
        } else if (tour.m.CycleCount - *typedAt >= kFirstValues + kChangeShown) {
            tour.m.RunClick();
        }
    };
    tour.m.RunClick();
    EXPECT_FALSE(tour.m.Panel.RunningLed.Lit);
    EXPECT_GE(tour.Leds(PortBOutput), 2);
    EXPECT_THAT(tour.t.Panel.Written, HasSubstr("go\r\n"));
    EXPECT_THAT(tour.t.Panel.Written, HasSubstr("AN5=042"));
}

}  // namespace
}  // namespace hexmoor::testing
