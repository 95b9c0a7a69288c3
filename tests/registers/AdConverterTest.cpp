// The A/D converter's sequences, results, flags and messages.
#include <gmock/gmock.h>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct TConverter : TTestMachine {
    TConverter() {
        Machine->ResetMoor(ExternalReset);
        Machine->RegisterBlock[0x39] |= 0x80;  // ADPU, stable
        Panel.Messages.clear();
    }
    void WriteAdctl(uint8_t byte) {
        Machine->EffectiveAddress = 0x1030;
        Machine->DataByte = byte;
        Machine->StoreByte();
    }
    // Runs n conversions' worth of passes of 8 cycles.
    void Convert(int conversions) {
        for (int pass = 0; pass < conversions * 4; ++pass) {
            Machine->InstructionCycles = 8;
            Machine->InstructionPreProcessing();
        }
    }
    std::vector<uint8_t> Results() const {
        return {Machine->RegisterBlock.begin() + 0x31, Machine->RegisterBlock.begin() + 0x35};
    }
    uint8_t Adctl() const { return Machine->RegisterBlock[0x30]; }
};

TEST(AdConverter, SlidersGiveTheirValues) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.AnalogInputChange(2, 0);  // slider at the top
    EXPECT_EQ(m.Panel.AnalogDisplays[2], 255);
    m.AnalogInputChange(3, 200);
    EXPECT_EQ(m.Panel.AnalogDisplays[3], 55);
    t.WriteAdctl(0x03);
    t.Convert(4);
    EXPECT_THAT(t.Results(), ElementsAre(55, 55, 55, 55));
    t.WriteAdctl(0x01);
    t.Convert(4);
    EXPECT_THAT(t.Results(), ElementsAre(0, 0, 0, 0)) << "untouched sliders read 0";
}

TEST(AdConverter, SingleChannelScanGoesOn) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.AnalogInputChange(2, 55);  // 200
    t.WriteAdctl(0x22);
    t.Convert(3);
    EXPECT_EQ(t.Adctl() & 0x80, 0) << "CCF only after the fourth";
    t.Convert(1);
    EXPECT_THAT(t.Results(), ElementsAre(200, 200, 200, 200));
    EXPECT_EQ(t.Adctl() & 0x80, 0x80);
    EXPECT_EQ(m.AdConversionDelay, 32) << "scanning goes on";
    m.AnalogInputChange(2, 155);  // 100
    t.Convert(1);
    EXPECT_THAT(t.Results(), ElementsAre(100, 200, 200, 200));
}

TEST(AdConverter, MultiChannelGroupStopsAfterFour) {
    TConverter t;
    TMachine& m = *t.Machine;
    for (int channel = 4; channel < 8; ++channel) m.AnalogInputChange(channel, 255 - channel * 10);
    t.WriteAdctl(0x14);
    t.Convert(4);
    EXPECT_THAT(t.Results(), ElementsAre(40, 50, 60, 70));
    EXPECT_EQ(t.Adctl(), 0x94);
    EXPECT_EQ(m.AdConversionDelay, 0);
    t.Convert(4);
    EXPECT_THAT(t.Results(), ElementsAre(40, 50, 60, 70));
}

// Only SCAN (bit 5) keeps converting after the fourth result, whatever the other bits.
TEST(AdConverter, OnlyScanConvertsAgain) {
    for (const uint8_t adctl : {0x01, 0x03, 0x11, 0x15, 0x21, 0x33}) {
        SCOPED_TRACE(::testing::Message() << "ADCTL $" << std::hex << int(adctl));
        TConverter t;
        TMachine& m = *t.Machine;
        for (int channel = 0; channel < 8; ++channel) m.AnalogInputChange(channel, 155);  // 100
        t.WriteAdctl(adctl);
        t.Convert(4);
        for (int channel = 0; channel < 8; ++channel) m.AnalogInputChange(channel, 55);  // 200
        t.Convert(4);
        const uint8_t expected = (adctl & 0x20) ? 200 : 100;
        EXPECT_THAT(t.Results(), ElementsAre(expected, expected, expected, expected));
    }
}

TEST(AdConverter, ReferenceChannels) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.Panel.ADSamplingMenu.Checked = true;
    t.WriteAdctl(0x1C);
    t.Panel.Messages.clear();
    t.Convert(4);
    EXPECT_THAT(t.Results(), ElementsAre(0xFF, 0x00, 0x7F, 0xFF));
    EXPECT_THAT(t.Panel.MessageTexts(),
                ElementsAre("Sampling $FF from Channel VRH to ADR1", "Sampling $00 from Channel VRL to ADR2",
                            "Sampling $7F from Channel VRH/2 to ADR3", "Sampling Unknown Channel",
                            "Sampling $FF from Channel Unknown to ADR4"));
}

TEST(AdConverter, SliderChannelsNameTheirNumber) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.Panel.ADSamplingMenu.Checked = true;
    m.AnalogInputChange(5, 155);  // 100
    t.WriteAdctl(0x05);
    t.Panel.Messages.clear();
    t.Convert(1);
    EXPECT_THAT(t.Panel.MessageTexts(), ElementsAre("Sampling $64 from Channel 5 to ADR1"));
}

TEST(AdConverter, UnpoweredConverterWarnsAtEverySample) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.RegisterBlock[0x39] &= 0x7F;
    m.Panel.InternalRegistersMenu.Checked = true;
    t.WriteAdctl(0x05);
    t.Convert(2);
    EXPECT_THAT(t.Panel.MessageTexts(),
                ElementsAre("Writing $05 to ADCTL (not Powered Up)",
                            "Attempting AD while AD Converter not Powered Up",
                            "Attempting AD while AD Converter not Powered Up"));
}

TEST(AdConverter, StabilisationDelayAfterPowerUp) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.AdStabilizeBlocks = 10;
    m.AdStabilizeCycles = 100;
    m.InstructionCycles = 100;
    m.InstructionPreProcessing();
    EXPECT_EQ(m.AdStabilizeBlocks, 9);
    EXPECT_EQ(m.AdStabilizeCycles, 32767);
    t.WriteAdctl(0x01);
    t.Convert(1);
    EXPECT_EQ(t.Panel.MessageTexts().back(), "Attempting AD while AD Converter not Stabilized");
}

TEST(AdConverter, ResetKeepsTheChannelBitsAndTheSequence) {
    TConverter t;
    TMachine& m = *t.Machine;
    t.WriteAdctl(0x22);
    t.Convert(4);
    m.ResetMoor(ExternalReset);
    EXPECT_EQ(t.Adctl(), 0x22) << "CCF cleared, the rest kept";
    EXPECT_EQ(m.AdConversionDelay, 32) << "a running scan continues";
}

TEST(AdConverter, PauseOnlyForSliderChannels) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.Panel.IOOperationsMenu.Checked = true;
    std::vector<std::string> labels;
    t.Panel.OnIoPause = [&] {
        labels.push_back(m.Panel.IoPanel.PortLabel + " " + m.Panel.IoPanel.IOTypeLabel);
        m.AnalogInputChange(1, 0);  // the user moves the slider during the pause
    };
    t.WriteAdctl(0x01);
    t.Convert(1);
    EXPECT_THAT(labels, ElementsAre("AN1 Input"));
    EXPECT_EQ(t.Results()[0], 255) << "the slider is read after the pause";
    EXPECT_FALSE(m.Panel.IoPanel.Visible);
    t.WriteAdctl(0x0C);
    t.Convert(4);
    EXPECT_EQ(labels.size(), 1u) << "no pause for the references";
}

TEST(AdConverter, CancelInThePauseUnchecksIoOperations) {
    TConverter t;
    TMachine& m = *t.Machine;
    m.Panel.IOOperationsMenu.Checked = true;
    t.Panel.IoAnswers = {TMessageResult::Cancel};
    t.WriteAdctl(0x00);
    t.Convert(4);
    EXPECT_EQ(t.Panel.IoPauses, 1);
    EXPECT_FALSE(m.Panel.IOOperationsMenu.Checked);
}

}  // namespace
}  // namespace hexmoor::testing
