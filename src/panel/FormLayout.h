// Where the main window's controls stand: the two layouts and the fixed places, as data.
// Positions are left, top (and width, height) in pixels of the window's client area or
// of the panel that holds the control.
#pragma once

#include <QPoint>
#include <QRect>

#include <array>

#include "core/Machine.h"

namespace hexmoor {

// What the two layouts, 640 x 480 and 800 x 600, place differently. The client area is the
// window less its frame, caption and menu bar; a panel that overhangs it is cut at its edge.
struct TLayoutGeometry {
    QSize Client;
    QRect LedPanel;
    QPoint MODALed, MODBLed, MODALabel, MODBLabel;
    int TracePanelTop;
    int AnalogGroupBoxTop;
    int RightColumnLeft;  // PortPanel and CpuPanel
};

inline constexpr TLayoutGeometry kLayout640{{632, 434}, {0, 208, 413, 37},
                                            {325, 8}, {373, 8}, {312, 20}, {360, 20}, 184, 244, 408};
inline constexpr TLayoutGeometry kLayout800{{792, 554}, {412, 436, 377, 81},
                                            {157, 44}, {205, 44}, {144, 56}, {192, 56}, 341, 364, 568};

inline const TLayoutGeometry& LayoutFor(int width) { return width == 800 ? kLayout800 : kLayout640; }

// The places both layouts share.
inline constexpr QRect kConsolePanel{-12, -3, 581, 348};
inline constexpr QPoint kConsoleInPanel{16, 7};
inline constexpr QSize kCpuPanelSize{225, 208};
inline constexpr QSize kTracePanelSize{409, 24};
inline constexpr int kPortPanelTop = 208;
inline constexpr QSize kPortPanelSize{225, 225};
inline constexpr QSize kAnalogGroupBoxSize{409, 192};
inline constexpr QSize kIoPanelSize{113, 37};
// The pause for port E and the A/D channels stands left of the Port E group, not over it,
// so a PE pin (or a slider) can still be set before the read goes on.
inline constexpr QPoint kPortEPauseOffset{-kIoPanelSize.width() - 8, 0};

// The CPU panel's read-outs with the captions above them.
struct TReadoutPlace {
    TReadout TPanelState::*Readout;
    QPoint Place;
    int Digits;  // the widest text it shows
    const char* Caption;  // nullptr: the caption of the read-out it shares its place with
    const char* Hint;
};
inline const std::array<TReadoutPlace, 10> kReadoutPlaces{{
    {&TPanelState::MemoryAddressDisplay, {9, 20}, 4, "Address", "Memory Address"},
    {&TPanelState::MemoryByteDisplay, {57, 20}, 2, "Data", "Memory Content"},
    {&TPanelState::MemoryWordDisplay, {57, 20}, 4, nullptr, "Memory Content"},
    {&TPanelState::RegisterADisplay, {9, 60}, 2, "A", "Accumulator A"},
    {&TPanelState::RegisterBDisplay, {37, 60}, 2, "B", "Accumulator B"},
    {&TPanelState::RegisterXDisplay, {9, 100}, 4, "IX", "Index IX"},
    {&TPanelState::RegisterYDisplay, {57, 100}, 4, "IY", "Index IY"},
    {&TPanelState::RegisterPCDisplay, {9, 140}, 4, "PC", "Program Counter"},
    {&TPanelState::RegisterSPDisplay, {57, 140}, 4, "SP", "Stack Pointer"},
    {&TPanelState::RegisterCCRDisplay, {8, 180}, 8, "CCR", "Condition Code Register"},
}};

// The memory map: a caption, the begin address, a hyphen and the end address per row.
struct TMemoryMapRow {
    const char* Caption;
    TRangeLabels TPanelState::*Labels;
    int Top;
};
inline const std::array<TMemoryMapRow, 7> kMemoryMapRows{{
    {"RAM:", &TPanelState::IRamLabels, 8},
    {"REG:", &TPanelState::IRegLabels, 31},
    {"EER:", &TPanelState::IEEPromLabels, 55},
    {"PRG:", &TPanelState::EProgLabels, 78},
    {"GEN:", &TPanelState::EGenLabels, 101},
    {"IO1:", &TPanelState::EIo1Labels, 125},
    {"IO2:", &TPanelState::EIo2Labels, 148},
}};
inline constexpr std::array<int, 4> kMemoryMapColumns{108, 140, 174, 188};
inline constexpr QPoint kCyclesLabel{144, 168};
inline constexpr QRect kCyclesValueLabel{108, 184, 105, 16};

// The run controls on the LED panel, with their captions.
struct TLedPlace {
    TLed TPanelState::*Led;
    void (TMachine::*Click)();
    QPoint Place;
    int Size;
    const char* Caption;
    bool CaptionBelow;  // else to the right
};
inline const std::array<TLedPlace, 4> kRunLeds{{
    {&TPanelState::LoadedLed, &TMachine::LoadClick, {8, 10}, 15, "Load", false},
    {&TPanelState::RunningLed, &TMachine::RunClick, {64, 10}, 15, "Run", false},
    {&TPanelState::StepLed, &TMachine::StepLedClick, {116, 10}, 15, "Step", false},
    {&TPanelState::StatusLed, &TMachine::StatusLedClick, {280, 8}, 11, "Status", true},
}};
inline constexpr QRect kIrqButton{168, 6, 25, 25};
inline constexpr QRect kXIrqButton{200, 6, 25, 25};
inline constexpr QRect kResetButton{232, 6, 25, 25};
inline constexpr int kModeLedSize = 11;

inline constexpr QPoint kInputConsole{0, 3};
inline constexpr int kInputConsoleWidth = 193;
inline constexpr QRect kInstructionLabel{200, 2, 209, 21};

// The port LED groups: inputs on the left of the port panel, outputs 112 pixels to the
// right; port E's input group stands in the analog group box.
struct TPortGroupPlace {
    TPortGroup Group;
    const char* Caption;
    QPoint Place;
};
inline constexpr int kPortOutputColumn = 112;
inline constexpr QSize kPortGroupSize{113, 37};
inline const std::array<TPortGroupPlace, kPortGroupCount> kPortGroupPlaces{{
    {PortGInput, "Port G Input", {0, 0}},
    {PortGOutput, "Port G Output", {112, 0}},
    {PortFOutput, "Port F Output", {112, 36}},
    {PortDInput, "Port D Input", {0, 76}},
    {PortDOutput, "Port D Output", {112, 76}},
    {PortCInput, "Port C Input", {0, 112}},
    {PortCOutput, "Port C Output", {112, 112}},
    {PortBOutput, "Port B Output", {112, 152}},
    {PortAInput, "Port A Input", {0, 186}},
    {PortAOutput, "Port A Output", {112, 186}},
    {PortEInput, "Port E Input", {264, 136}},  // in the analog group box
}};

// The analog sliders, AN7 on the left to AN0 on the right, each with its read-out below.
inline constexpr int kSliderFirstLeft = 8;
inline constexpr int kSliderLastLeft = 356;
inline constexpr QSize kSliderSize{41, 94};
inline constexpr int kSliderTop = 16;
inline constexpr int kAnalogDisplayTop = 112;
inline constexpr QSize kAnalogDigit{11, 18};

}  // namespace hexmoor
