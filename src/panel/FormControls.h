// The main window's controls, named as the panel calls them.
#pragma once

#include <array>

#include "core/PanelState.h"
#include "panel/FormLayout.h"
#include "panel/HexmoorForm.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

namespace hexmoor {

class TDigitalDisplay;
class TDigits;
class TGloLed;
class TLumocrt;

struct THexmoorForm::TControls {
    QWidget* Client = nullptr;
    QFrame* ConsolePanel = nullptr;
    TLumocrt* Console = nullptr;

    QFrame* CpuPanel = nullptr;
    std::array<TDigitalDisplay*, kReadoutPlaces.size()> Readouts{};  // as kReadoutPlaces
    std::array<QLabel*, kMemoryMapRows.size()> RangeBegin{}, RangeHyphen{}, RangeEnd{};
    QLabel* CyclesValueLabel = nullptr;

    QFrame* TracePanel = nullptr;
    QLineEdit* InputConsole = nullptr;
    QLabel* InstructionLabel = nullptr;

    QFrame* LedPanel = nullptr;
    std::array<TGloLed*, kRunLeds.size()> RunLeds{};  // as kRunLeds
    std::array<QLabel*, kRunLeds.size()> RunLedLabels{};
    TGloLed* MODALed = nullptr;
    TGloLed* MODBLed = nullptr;
    QLabel* MODALabel = nullptr;
    QLabel* MODBLabel = nullptr;
    QToolButton* IrqButton = nullptr;
    QToolButton* XIrqButton = nullptr;
    QToolButton* ResetButton = nullptr;

    QGroupBox* AnalogGroupBox = nullptr;
    std::array<QSlider*, 8> AnalogInputs{};  // by channel
    std::array<TDigits*, 8> AnalogDisplays{};

    QFrame* PortPanel = nullptr;
    std::array<QGroupBox*, kPortGroupCount> PortGroups{};  // by TPortGroup
    std::array<std::array<TGloLed*, 8>, kPortGroupCount> PortLeds{};  // by group and bit

    QFrame* IOPanel = nullptr;
    QLabel* PortLabel = nullptr;
    QLabel* IOTypeLabel = nullptr;
    QToolButton* IOOKButton = nullptr;
    QToolButton* IOCancelButton = nullptr;
};

}  // namespace hexmoor
