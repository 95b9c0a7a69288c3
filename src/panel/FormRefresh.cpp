// Repainting the controls from the machine's panel state, one part at a time.
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSlider>
#include <QToolButton>

#include "panel/FormControls.h"
#include "panel/FormStyle.h"
#include "panel/widgets/DigDisp.h"
#include "panel/widgets/Digits.h"
#include "panel/widgets/Led.h"
#include "panel/widgets/Lumocrt.h"
#include "panel/widgets/QtColour.h"

namespace hexmoor {

namespace {

void ShowLed(TGloLed* led, const TLed& state) {
    led->SetLightOn(state.Lit);
    led->SetColor(state.LitColour);
    led->SetBackColor(state.UnlitColour);
}

void SetTextColour(QWidget* widget, QColor colour) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == colour) return;
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

const TLayoutGeometry& THexmoorForm::Geometry() const { return LayoutFor(machine_->Panel.LayoutWidth); }

void THexmoorForm::Refresh(TPanelItem item) {
    switch (item) {
    case TPanelItem::Readouts: RefreshReadouts(); break;
    case TPanelItem::Trace:
        controls_->InstructionLabel->setText(QString::fromStdString(machine_->Panel.InstructionLabel));
        break;
    case TPanelItem::MemoryMap: RefreshMemoryMap(); break;
    case TPanelItem::RunControls:
        RefreshRunControls();
        RefreshMenus();  // the Debug menu's runs follow the run controls
        break;
    case TPanelItem::StatusLed:
    case TPanelItem::InterruptButtons: RefreshRunControls(); break;
    case TPanelItem::Menus: RefreshMenus(); break;
    case TPanelItem::Ports: RefreshPorts(); break;
    case TPanelItem::TerminalScreen: controls_->Console->Refresh(); break;
    case TPanelItem::TypedInput: RefreshTypedInput(); break;
    case TPanelItem::TerminalStacking:
        if (machine_->Panel.ConsoleInFront) controls_->ConsolePanel->raise();
        else controls_->ConsolePanel->lower();
        break;
    case TPanelItem::IoPause: RefreshIoPanel(); break;
    case TPanelItem::AnalogInputs: RefreshAnalogInputs(); break;
    case TPanelItem::Layout: ApplyLayout(); break;
    case TPanelItem::Hints: RefreshHints(); break;
    case TPanelItem::Count: break;
    }
}

void THexmoorForm::RefreshReadouts() {
    const TPanelState& panel = machine_->Panel;
    for (std::size_t i = 0; i < kReadoutPlaces.size(); ++i) {
        const TReadout& readout = panel.*kReadoutPlaces[i].Readout;
        TDigitalDisplay* display = controls_->Readouts[i];
        display->SetText(QString::fromStdString(readout.Text));
        display->SetColor(readout.Colour);
        display->setVisible(readout.Visible);
    }
    controls_->CyclesValueLabel->setText(QString::fromStdString(panel.CyclesValueLabel));
}

void THexmoorForm::RefreshMemoryMap() {
    for (std::size_t row = 0; row < kMemoryMapRows.size(); ++row) {
        const TRangeLabels& labels = machine_->Panel.*kMemoryMapRows[row].Labels;
        const QColor colour = ToQColor(labels.Colour);
        controls_->RangeBegin[row]->setText(QString::fromStdString(labels.Begin));
        controls_->RangeEnd[row]->setText(QString::fromStdString(labels.End));
        for (QLabel* label : {controls_->RangeBegin[row], controls_->RangeHyphen[row], controls_->RangeEnd[row]}) {
            SetTextColour(label, colour);
            label->adjustSize();
        }
    }
}

void THexmoorForm::RefreshRunControls() {
    const TPanelState& panel = machine_->Panel;
    for (std::size_t i = 0; i < kRunLeds.size(); ++i) {
        const TLed& led = panel.*kRunLeds[i].Led;
        ShowLed(controls_->RunLeds[i], led);
        controls_->RunLeds[i]->setCursor(led.Enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
        SetHint(controls_->RunLeds[i], led.Hint);
    }
    for (auto [widget, led] : {std::pair{controls_->MODALed, &panel.MODALed}, {controls_->MODBLed, &panel.MODBLed}}) {
        ShowLed(widget, *led);
        SetHint(widget, led->Hint);
    }
    SetHint(controls_->IrqButton, panel.IrqButton.Hint);
    SetHint(controls_->XIrqButton, panel.XIrqButton.Hint);
}

void THexmoorForm::RefreshPorts() {
    for (int group = 0; group < kPortGroupCount; ++group) {
        const TLedGroup& state = machine_->Panel.PortGroups[group];
        QGroupBox* box = controls_->PortGroups[group];
        SetPortGroupColour(box, ToQColor(state.Colour));
        for (int bit = 0; bit < 8; ++bit) {
            ShowLed(controls_->PortLeds[group][bit], state.Leds[bit]);
            SetHint(controls_->PortLeds[group][bit], state.Leds[bit].Hint);
        }
    }
}

void THexmoorForm::RefreshTypedInput() {
    QLineEdit* box = controls_->InputConsole;
    QString typed;
    for (char byte : machine_->InputBuffer.Text().substr(0, 256)) typed += FromWindows1252(uint8_t(byte));
    if (box->text() != typed) box->setText(typed);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, ToQColor(machine_->Panel.InputConsoleColour));
    box->setPalette(palette);
}

// The pause panel covers the group of the other direction on the port's row (inputs are
// in the left column, outputs in the right); port E's stands beside its group.
void THexmoorForm::RefreshIoPanel() {
    const TIoPanel& pause = machine_->Panel.IoPanel;
    TControls& c = *controls_;
    c.PortLabel->setText(QString::fromStdString(pause.PortLabel));
    c.IOTypeLabel->setText(QString::fromStdString(pause.IOTypeLabel));
    c.PortLabel->adjustSize();
    c.IOTypeLabel->adjustSize();
    const QPoint offset = pause.Pins == PortEInput             ? kPortEPauseOffset
                          : kPortGroupPorts[pause.Pins].Input ? QPoint(kPortOutputColumn, 0)
                                                              : QPoint(-kPortOutputColumn, 0);
    c.IOPanel->move(c.PortGroups[pause.Pins]->mapTo(c.Client, offset));
    c.IOPanel->raise();
    c.IOPanel->setVisible(pause.Visible);
}

void THexmoorForm::RefreshAnalogInputs() {
    for (int channel = 0; channel < 8; ++channel)
        controls_->AnalogDisplays[channel]->SetValue(machine_->Panel.AnalogDisplays[channel]);
}

// Hints are tooltips; with hints off every control has none.
void THexmoorForm::SetHint(QWidget* widget, const std::string& hint) {
    QString text = machine_->Panel.HintsShown ? QString::fromStdString(hint) : QString();
    text.replace('\r', '\n');
    if (widget->toolTip() != text) widget->setToolTip(text);
}

void THexmoorForm::RefreshHints() {
    TControls& c = *controls_;
    for (std::size_t i = 0; i < kReadoutPlaces.size(); ++i) SetHint(c.Readouts[i], kReadoutPlaces[i].Hint);
    SetHint(c.ResetButton, "Click to RESET the Cpu");
    SetHint(c.IOOKButton, " Go on with the access ");
    SetHint(c.IOCancelButton, " Go on, and stop pausing on I/O ");
    for (int channel = 0; channel < 8; ++channel) {
        SetHint(c.AnalogInputs[channel], "Change Voltage on AN" + std::to_string(channel));
        SetHint(c.AnalogDisplays[channel], "Displays Voltage on AN" + std::to_string(channel));
    }
    RefreshRunControls();
    RefreshPorts();
}

// The panels take their places in the layout; the window keeps a fixed size, centred.
void THexmoorForm::ApplyLayout() {
    const TLayoutGeometry& layout = Geometry();
    TControls& c = *controls_;
    c.CpuPanel->move(layout.RightColumnLeft, 0);
    c.PortPanel->move(layout.RightColumnLeft, kPortPanelTop);
    c.TracePanel->move(0, layout.TracePanelTop);
    c.AnalogGroupBox->setGeometry(QRect({0, layout.AnalogGroupBoxTop}, kAnalogGroupBoxSize));
    c.LedPanel->setGeometry(layout.LedPanel);
    c.MODALed->move(layout.MODALed);
    c.MODBLed->move(layout.MODBLed);
    c.MODALabel->move(layout.MODALabel);
    c.MODBLabel->move(layout.MODBLabel);
    c.Client->setFixedSize(layout.Client);
    setFixedSize(layout.Client.width(), layout.Client.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    RefreshIoPanel();
}

}  // namespace hexmoor
