// Front-panel state owned by the core: what the view shows and every control's state.
#pragma once

#include <cstdint>
#include <string>

namespace hexmoor {

// Colours are $00BBGGRR.
using TColour = uint32_t;
inline constexpr TColour kRed = 0x0000FF;
inline constexpr TColour kLime = 0x00FF00;
inline constexpr TColour kAqua = 0xFFFF00;
inline constexpr TColour kYellow = 0x00FFFF;
inline constexpr TColour kMaroon = 0x000080;
inline constexpr TColour kGreen = 0x008000;

struct TMenuItem {
    bool Enabled = true;
    bool Checked = false;
};

struct TControl {
    bool Enabled = true;
    std::string Hint;
};

struct TLed : TControl {
    bool Lit = false;
    TColour LitColour = kLime;
    TColour UnlitColour = kRed;
};

inline constexpr const char* kIrqEnabledHint = " Click to generate an IRQ (Currently enabled) ";
inline constexpr const char* kIrqDisabledHint = " Click to generate an IRQ (Currently disabled) ";
inline constexpr const char* kNormalModeHint = " Normal Mode ";

struct TPanelState {
    std::string InstructionLabel;
    std::string RegisterPCDisplay;
    std::string CyclesValueLabel;
    TControl IrqButton{true, kIrqDisabledHint};
    // Always lit; its colour and hint show the CPU mode (normal, WAI, STOP).
    TLed StatusLed{{true, kNormalModeHint}, true, kLime, kRed};
    TMenuItem InternalRegistersMenu;
    TMenuItem WarningsMenu{true, true};
};

}  // namespace hexmoor
