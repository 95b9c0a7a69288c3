// The A/D converter: sequences of four conversions from the sliders or the references.
#include <array>
#include <string>

#include "core/Hex.h"
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

struct TAdSource {
    uint8_t Value;
    const char* Text;
};

// Codes 8-15: no input (8-11, 15) and the three reference levels (12-14).
constexpr std::array<TAdSource, 8> kReferenceChannels{{
    {0xFF, "Unknown"}, {0xFF, "Unknown"}, {0xFF, "Unknown"}, {0xFF, "Unknown"},
    {0xFF, "VRH"}, {0x00, "VRL"}, {0x7F, "VRH/2"}, {0xFF, "Unknown"},
}};

constexpr std::array<const char*, 8> kInputChannelNames{"AN0", "AN1", "AN2", "AN3",
                                                        "AN4", "AN5", "AN6", "AN7"};

bool IsUnknownChannel(int32_t channel) { return (channel >= 8 && channel <= 11) || channel == 15; }

}  // namespace

void TMachine::AdSamplingInfo(std::string_view text) {
    if (!Panel.ADSamplingMenu.Checked) return;
    ShowGatedMessage(Panel.ADSamplingMenu, TMessageKind::Information,
                     "Sampling $" + std::string(text));
}

void TMachine::AdSamplingWarning(std::string_view text) {
    TMenuItem& option = Panel.ADSamplingMenu.Checked ? Panel.ADSamplingMenu : Panel.WarningsMenu;
    ShowGatedMessage(option, TMessageKind::Warning, text);
}

// Misuse is reported but never prevents the sample.
void TMachine::DoAdSample() {
    const bool poweredUp = RegisterBlock[OPTION] & 0x80;
    if (poweredUp && AdStabilizeBlocks != 0)
        AdSamplingWarning("Attempting AD while AD Converter not Stabilized");
    if (!poweredUp) AdSamplingWarning("Attempting AD while AD Converter not Powered Up");

    // Nothing here allocates unless a message is shown: a scanning program samples
    // every 32 cycles.
    uint8_t value;
    const char* channelText;
    if (AdChannel < 8) {
        IoPause(PortEInput, kInputChannelNames[AdChannel]);  // AN0-AN7 are port E's pins
        value = AnalogInputValue[AdChannel];
        channelText = kInputChannelNames[AdChannel] + 2;  // the digit
    } else {
        if (IsUnknownChannel(AdChannel)) AdSamplingWarning("Sampling Unknown Channel");
        value = kReferenceChannels[AdChannel - 8].Value;
        channelText = kReferenceChannels[AdChannel - 8].Text;
    }

    const int32_t index = AdResultIndex;
    RegisterBlock[ADR1 + index] = value;
    uint8_t& adctl = RegisterBlock[ADCTL];
    if (index < 3) {
        AdResultIndex = index + 1;
        AdConversionDelay = 32;
    } else {
        adctl |= 0x80;  // CCF: the four results are in
        if (adctl & 0x20) {  // SCAN: the next sequence starts over ADR1
            AdResultIndex = 0;
            AdConversionDelay = 32;
        } else {
            AdConversionDelay = 0;
        }
    }
    if (Panel.ADSamplingMenu.Checked)
        AdSamplingInfo(Hex2(value) + " from Channel " + channelText + " to ADR" + std::to_string(index + 1));
    if (adctl & 0x10) AdChannel = (adctl & 0x0C) | ((AdChannel + 1) & 3);
}

void TMachine::AnalogInputChange(int channel, int position) {
    AnalogInputValue[channel] = uint8_t(255 - position);
    Change(Panel.AnalogDisplays[channel], AnalogInputValue[channel], TPanelItem::AnalogInputs);
    RecordInput(TInput::AnalogInput, channel, position);
}

}  // namespace hexmoor
