// Creating the main window's controls at their places and wiring them to the machine.
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include "panel/FormControls.h"
#include "panel/FormStyle.h"
#include "panel/Glyphs.h"
#include "panel/widgets/DigDisp.h"
#include "panel/widgets/Digits.h"
#include "panel/widgets/DotMatrixFont.h"
#include "panel/widgets/Led.h"
#include "panel/widgets/Lumocrt.h"
#include "panel/widgets/QtColour.h"

namespace hexmoor {

namespace {

QFrame* Panel(QWidget* parent, QColor colour, bool raised) {
    auto* panel = new QFrame(parent);
    SetBackground(panel, colour);
    if (raised) panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QLabel* Label(QWidget* parent, const QString& text, QPoint place, const QFont& font,
              QColor colour = Qt::black) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(place);
    label->adjustSize();
    return label;
}

QToolButton* SpeedButton(QWidget* parent, const QPixmap& glyph, QRect place) {
    auto* button = new QToolButton(parent);
    button->setIcon(glyph);
    button->setIconSize(glyph.size());
    button->setGeometry(place);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

TGloLed* Led(QWidget* parent, QPoint place, int size) {
    auto* led = new TGloLed(parent);
    led->setGeometry(place.x(), place.y(), size, size);
    led->SetBorderStyle(TLedBorderStyle::bsFlat);
    return led;
}

}  // namespace

void THexmoorForm::CreateWidgets() {
    TControls& c = *controls_;
    c.Client = new QWidget(this);
    SetBackground(c.Client, Qt::black);
    setCentralWidget(c.Client);

    // The terminal's navy panel lies beneath the others unless brought to the front.
    c.ConsolePanel = Panel(c.Client, ToQColor(kNavy), false);
    c.ConsolePanel->setGeometry(kConsolePanel);
    c.Console = new TLumocrt(c.ConsolePanel, &machine_->Screen);
    c.Console->SetScreenFont(TerminalFont());
    c.Console->PrinterFont = c.Console->Font80 = c.Console->Font132 = TerminalFont();
    printer_.SetFont(c.Console->PrinterFont);
    c.Console->move(kConsoleInPanel);
    connect(c.Console, &TLumocrt::Clicked, this, [this] { Handle(&TMachine::ConsoleClick); });
    connect(c.Console, &TLumocrt::DoubleClicked, this, [this] { Handle(&TMachine::ConsoleDblClick); });

    CreateCpuPanel();
    CreateTracePanel();
    CreateLedPanel();
    CreateAnalogGroup();
    CreatePortPanel();
    CreateIoPanel();
}

void THexmoorForm::CreateCpuPanel() {
    TControls& c = *controls_;
    c.CpuPanel = Panel(c.Client, PanelGrey(), true);
    c.CpuPanel->resize(kCpuPanelSize);
    for (std::size_t i = 0; i < kReadoutPlaces.size(); ++i) {
        const TReadoutPlace& place = kReadoutPlaces[i];
        auto* display = new TDigitalDisplay(c.CpuPanel);
        display->setGeometry(place.Place.x(), place.Place.y(), place.Digits * kGlyphWidth, kGlyphHeight);
        c.Readouts[i] = display;
        if (place.Caption) Label(c.CpuPanel, place.Caption, place.Place - QPoint(0, 15), SansFont());
    }
    for (std::size_t row = 0; row < kMemoryMapRows.size(); ++row) {
        const int top = kMemoryMapRows[row].Top;
        Label(c.CpuPanel, kMemoryMapRows[row].Caption, {kMemoryMapColumns[0], top}, MonoFont());
        c.RangeBegin[row] = Label(c.CpuPanel, "    ", {kMemoryMapColumns[1], top}, MonoFont());
        c.RangeHyphen[row] = Label(c.CpuPanel, "-", {kMemoryMapColumns[2], top}, MonoFont());
        c.RangeEnd[row] = Label(c.CpuPanel, "    ", {kMemoryMapColumns[3], top}, MonoFont());
    }
    Label(c.CpuPanel, "Cycles", kCyclesLabel, MonoFont());
    c.CyclesValueLabel = Label(c.CpuPanel, "", kCyclesValueLabel.topLeft(), MonoFont());
    c.CyclesValueLabel->setGeometry(kCyclesValueLabel);
    c.CyclesValueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void THexmoorForm::CreateTracePanel() {
    TControls& c = *controls_;
    c.TracePanel = Panel(c.Client, PanelGrey(), true);
    c.TracePanel->resize(kTracePanelSize);
    c.InputConsole = new QLineEdit(c.TracePanel);
    c.InputConsole->setReadOnly(true);
    c.InputConsole->setFocusPolicy(Qt::NoFocus);
    c.InputConsole->setGeometry(kInputConsole.x(), kInputConsole.y(), kInputConsoleWidth, 19);
    c.InstructionLabel = Label(c.TracePanel, "", kInstructionLabel.topLeft(), TraceFont(), ToQColor(kNavy));
    c.InstructionLabel->setGeometry(kInstructionLabel);
}

void THexmoorForm::CreateLedPanel() {
    TControls& c = *controls_;
    c.LedPanel = Panel(c.Client, Qt::black, false);
    for (std::size_t i = 0; i < kRunLeds.size(); ++i) {
        const TLedPlace& place = kRunLeds[i];
        TGloLed* led = Led(c.LedPanel, place.Place, place.Size);
        connect(led, &TGloLed::Clicked, this, [this, &place] { Handle(place.Click); });
        c.RunLeds[i] = led;
        QLabel* label = Label(c.LedPanel, place.Caption, {}, SansFont(), Teal());
        label->move(place.CaptionBelow
                        ? QPoint(place.Place.x() + place.Size / 2 - label->width() / 2, place.Place.y() + place.Size + 1)
                        : QPoint(place.Place.x() + place.Size + 3, place.Place.y() + 1));
        c.RunLedLabels[i] = label;
    }
    for (TGloLed** led : {&c.MODALed, &c.MODBLed}) {
        *led = Led(c.LedPanel, {}, kModeLedSize);
        (*led)->setCursor(Qt::PointingHandCursor);
        connect(*led, &TGloLed::Clicked, this, [this] { Handle(&TMachine::ModeLedClick); });
    }
    c.MODALabel = Label(c.LedPanel, "MODA", {}, SansFont(), Teal());
    c.MODBLabel = Label(c.LedPanel, "MODB", {}, SansFont(), Teal());
    c.IrqButton = SpeedButton(c.LedPanel, IrqGlyph(), kIrqButton);
    c.XIrqButton = SpeedButton(c.LedPanel, XIrqGlyph(), kXIrqButton);
    c.ResetButton = SpeedButton(c.LedPanel, ResetGlyph(), kResetButton);
    connect(c.IrqButton, &QToolButton::clicked, this, [this] { Handle(&TMachine::IrqButtonClick); });
    connect(c.XIrqButton, &QToolButton::clicked, this, [this] { Handle(&TMachine::XIrqButtonClick); });
    connect(c.ResetButton, &QToolButton::clicked, this, [this] { Handle(&TMachine::ResetButtonClick); });
}

void THexmoorForm::CreateAnalogGroup() {
    TControls& c = *controls_;
    c.AnalogGroupBox = new QGroupBox("Analog Inputs", c.Client);
    SetBackground(c.AnalogGroupBox, PanelGrey());
    const QImage digits = SevenSegmentDigits(kAnalogDigit.width(), kAnalogDigit.height(), QColor(255, 40, 40),
                                             QColor(70, 0, 0), Qt::black);
    for (int column = 0; column < 8; ++column) {
        const int channel = 7 - column;  // AN7 on the left
        const int left = kSliderFirstLeft + (kSliderLastLeft - kSliderFirstLeft) * column / 7;
        auto* slider = new QSlider(Qt::Vertical, c.AnalogGroupBox);
        slider->setRange(0, 255);
        slider->setPageStep(8);
        slider->setTickInterval(16);
        slider->setTickPosition(QSlider::TicksBothSides);
        slider->setInvertedAppearance(true);  // position 0, the highest voltage, at the top
        slider->setValue(255);
        slider->setFocusPolicy(Qt::NoFocus);
        slider->setGeometry(QRect({left, kSliderTop}, kSliderSize));
        slider->setToolTip(QString("Change Voltage on AN%1").arg(channel));
        connect(slider, &QSlider::valueChanged, this, [this, channel](int position) {
            Handle([this, channel, position] { machine_->AnalogInputChange(channel, position); });
        });
        c.AnalogInputs[channel] = slider;
        auto* display = new TDigits(c.AnalogGroupBox);
        display->SetBmpDigits(digits);
        display->SetDigitCount(3);
        display->SetShowLeadingZeros(true);
        display->move(left + (kSliderSize.width() - 3 * kAnalogDigit.width()) / 2, kAnalogDisplayTop);
        c.AnalogDisplays[channel] = display;
    }
}

void THexmoorForm::CreatePortPanel() {
    TControls& c = *controls_;
    c.PortPanel = Panel(c.Client, Qt::black, false);
    c.PortPanel->resize(kPortPanelSize);
    for (const TPortGroupPlace& place : kPortGroupPlaces) {
        QWidget* parent = place.Group == PortEInput ? static_cast<QWidget*>(c.AnalogGroupBox) : c.PortPanel;
        auto* group = new QGroupBox(place.Caption, parent);
        group->setGeometry(QRect(place.Place, kPortGroupSize));
        QFont bold = SansFont();
        bold.setBold(true);
        group->setFont(bold);
        c.PortGroups[place.Group] = group;
        const bool input = kPortGroupPorts[place.Group].Input;
        for (int bit = 7; bit >= 0; --bit) {
            TGloLed* led = Led(group, {6 + (7 - bit) * 13, 18}, 11);
            led->SetBorderWidth(0);
            if (input) {
                const TPortGroup id = place.Group;
                connect(led, &TGloLed::Clicked, this,
                        [this, id, bit] { Handle([this, id, bit] { machine_->InputLedClick(id, bit); }); });
            }
            c.PortLeds[place.Group][bit] = led;
        }
    }
}

void THexmoorForm::CreateIoPanel() {
    TControls& c = *controls_;
    c.IOPanel = Panel(c.Client, PanelGrey(), true);
    c.IOPanel->resize(kIoPanelSize);
    QFont bold = SansFont();
    bold.setBold(true);
    c.PortLabel = Label(c.IOPanel, "PORTA", {5, 3}, bold);
    c.IOTypeLabel = Label(c.IOPanel, "Input", {5, 19}, bold);
    c.IOOKButton = SpeedButton(c.IOPanel, OkGlyph(), {56, 6, 25, 25});
    c.IOCancelButton = SpeedButton(c.IOPanel, CancelGlyph(), {83, 6, 25, 25});
    for (const auto& choice : {std::pair{c.IOOKButton, TMessageResult::Ok},
                               std::pair{c.IOCancelButton, TMessageResult::Cancel}}) {
        connect(choice.first, &QToolButton::clicked, this, [this, answer = choice.second] {
            ioPauseAnswer_ = answer;
            if (ioPauseLoop_) ioPauseLoop_->quit();
        });
    }
    c.IOPanel->hide();
}

}  // namespace hexmoor
