// Front-panel state owned by the core: what every control shows and whether it is enabled,
// so each behaviour down to LED colours and message texts is testable without a window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hexmoor {

// Colours are $00BBGGRR.
using TColour = uint32_t;
inline constexpr TColour kBlack = 0x000000;
inline constexpr TColour kRed = 0x0000FF;
inline constexpr TColour kLime = 0x00FF00;
inline constexpr TColour kAqua = 0xFFFF00;
inline constexpr TColour kYellow = 0x00FFFF;
inline constexpr TColour kMaroon = 0x000080;
inline constexpr TColour kGreen = 0x008000;
inline constexpr TColour kOlive = 0x008080;
inline constexpr TColour kNavy = 0x800000;
inline constexpr TColour kWhite = 0xFFFFFF;

struct TMenuItem {
    bool Enabled = true;
    bool Checked = false;
    bool operator==(const TMenuItem&) const = default;
};

struct TControl {
    bool Enabled = true;
    std::string Hint;
};

// An LED shows LitColour when lit and UnlitColour (its back colour) when dark.
struct TLed : TControl {
    bool Lit = false;
    TColour LitColour = kLime;
    TColour UnlitColour = kRed;
};

struct TLedScheme {
    TColour Unlit, Lit;
};
inline constexpr TLedScheme kActiveScheme{kRed, kLime};    // an enabled control, a pin in use
inline constexpr TLedScheme kDisabledScheme{kMaroon, kGreen};
inline constexpr TLedScheme kDimmedScheme{kMaroon, kOlive};  // the other LED of a pin
inline constexpr TLedScheme kSpecialScheme{kYellow, kAqua};  // chip select, output compare

// A read-out of the CPU panel: text, the colour of text without colour codes, visibility.
struct TReadout {
    std::string Text;
    TColour Colour = kLime;
    bool Visible = true;
    bool operator==(const TReadout&) const = default;
};

// A memory-map row: begin and end addresses (blank when unused) and their colour.
struct TRangeLabels {
    std::string Begin, End;
    TColour Colour = kBlack;
    bool operator==(const TRangeLabels&) const = default;
};

// The LED groups of the ports; index = bit number.
enum TPortGroup {
    PortAInput, PortAOutput, PortBOutput, PortCInput, PortCOutput, PortDInput, PortDOutput,
    PortEInput, PortFOutput, PortGInput, PortGOutput, kPortGroupCount
};
struct TLedGroup {
    TColour Colour = kBlack;
    std::array<TLed, 8> Leds;
};

// The port whose pins a group shows, and whether it shows their input levels (a click sets
// them) or the port's output latch.
struct TPortGroupPort {
    const char* Port;
    bool Input;
};
inline constexpr std::array<TPortGroupPort, kPortGroupCount> kPortGroupPorts{{
    {"PORTA", true}, {"PORTA", false}, {"PORTB", false}, {"PORTC", true}, {"PORTC", false},
    {"PORTD", true}, {"PORTD", false}, {"PORTE", true}, {"PORTF", false}, {"PORTG", true},
    {"PORTG", false},
}};

inline constexpr const char* kIrqEnabledHint = " Click to generate an IRQ (Currently enabled) ";
inline constexpr const char* kIrqDisabledHint = " Click to generate an IRQ (Currently disabled) ";
inline constexpr const char* kNormalModeHint = " Normal Mode ";
inline constexpr const char* kExpandedPinsHint =
    " Mode: Expanded Nonmultiplexed \r Click for Special Bootstrap \r (at the next Reset) ";
inline constexpr const char* kBootstrapPinsHint =
    " Mode: Special Bootstrap \r Click for Expanded Nonmultiplexed \r (at the next Reset) ";

// The I/O pause panel: shown before the program reads or writes the pins of `Pins` (an A/D
// sample reads port E's pins as AN0-AN7), over the port's group of the other direction.
struct TIoPanel {
    bool Visible = false;
    TPortGroup Pins = PortEInput;
    std::string PortLabel, IOTypeLabel;
    bool operator==(const TIoPanel&) const = default;
};

struct TPanelState {
    // Run controls.
    TLed LoadedLed{{true, " Click to Load a Program "}, false, kLime, kRed};
    TLed RunningLed{{false, " You must Load a Program First "}, false, kGreen, kMaroon};
    TLed StepLed{{false, " You must Load a Program First "}, false, kGreen, kMaroon};
    // Always lit; its colour and hint show the CPU mode (normal, WAI, STOP).
    TLed StatusLed{{true, kNormalModeHint}, true, kLime, kRed};
    // The mode pins: both lit for expanded mode, both dark for special bootstrap.
    TLed MODALed{{true, kExpandedPinsHint}, true, kLime, kRed};
    TLed MODBLed{{true, kExpandedPinsHint}, true, kLime, kRed};
    TControl IrqButton{true, kIrqDisabledHint};
    TControl XIrqButton{true, " Click to generate an XIRQ (Currently disabled) "};

    // Menu items the core reads or changes.
    TMenuItem LoadMenu;
    TMenuItem StartMenu{false, false};
    TMenuItem StopMenu{false, true};
    TMenuItem TraceMenu;
    TMenuItem LoadingMenu;
    TMenuItem InternalRegistersMenu;
    TMenuItem ADSamplingMenu;
    TMenuItem IOOperationsMenu;
    TMenuItem InterruptsMenu;
    TMenuItem WarningsMenu{true, true};
    TMenuItem BreakPointMenu{false, false};  // enabled by the first load
    TMenuItem ChipSpeedMenu;                 // untraced runs paced to the chip's E clock

    // Read-outs and the trace line.
    TReadout RegisterADisplay, RegisterBDisplay, RegisterXDisplay, RegisterYDisplay,
        RegisterSPDisplay, RegisterPCDisplay, RegisterCCRDisplay;
    TReadout MemoryAddressDisplay, MemoryByteDisplay, MemoryWordDisplay{"", kLime, false};
    std::string CyclesValueLabel = "000000000000000";
    std::string InstructionLabel;

    // Memory map.
    TRangeLabels IRamLabels, IRegLabels, IEEPromLabels, EProgLabels, EGenLabels, EIo1Labels,
        EIo2Labels;

    std::array<TLedGroup, kPortGroupCount> PortGroups;
    TIoPanel IoPanel;
    // The typed-ahead input's edit box turns lime while the program waits for input.
    TColour InputConsoleColour = kWhite;
    TMenuItem CloseMenu{false, false};  // closes the printer output
    TMenuItem BringtoFrontMenu;
    std::string BringtoFrontCaption = "Bring to &Front";
    bool ConsoleInFront = false;
    // The three-digit read-outs below the analog sliders: the value each channel converts.
    std::array<uint8_t, 8> AnalogDisplays{};

    // The window: layout, hints and whether it has been activated (and reset) yet.
    int LayoutWidth = 640;  // 640 x 480 or 800 x 600
    TMenuItem N640x480Menu{true, true};
    TMenuItem N800x600Menu{true, false};
    bool HintsShown = true;
    std::string HintsMenuCaption = "&Hints Off";
    bool Activated = false;
};

}  // namespace hexmoor
