// What the window shows: the read-outs and the cycle label, the layouts, the hints, the
// View items, the log file, and the dialogs the machine's questions become.
#include <gmock/gmock.h>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>

#include <fstream>

#include "panel/FormFixture.h"
#include "panel/widgets/DigDisp.h"
#include "panel/widgets/Digits.h"
#include "panel/widgets/Led.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

enum TReadoutIndex { kAddress, kByte, kWord, kA, kB, kX, kY, kPC, kSP, kCCR };

// The read-outs after each kind of instruction: a byte store and a push show the byte, a
// word store the word, lime; an instruction that writes nothing turns them red.
TEST_F(FormTest, ReadoutsFollowTheLastWrite) {
    Load("count_up");
    Click(StepLed());  // the reset
    const QString afterReset = C().Readouts[kCCR]->Text();
    EXPECT_EQ(afterReset, "~LS~LX~RH~LI~RN~LZ~RV~RC");
    EXPECT_EQ(C().CyclesValueLabel->text(), QString(14, ' ') + "3");

    const uint8_t code[] = {
        0x86, 0x5A,        // LDAA #$5A
        0xB7, 0x41, 0x00,  // STAA $4100
        0xCC, 0x12, 0x34,  // LDD #$1234
        0xFD, 0x42, 0x00,  // STD $4200
        0x01,              // NOP
        0x36,              // PSHA
        0x0A,              // CLV: the flags change, nothing is written
    };
    std::copy(std::begin(code), std::end(code), &M().MemoryImage[0x2000]);
    M().RegisterSP = 0x01FF;
    struct Step {
        const char* name;
        QString address;
        TColour colour;
        bool byteShown;
        QString data;
    } steps[] = {
        {"LDAA", "", kRed, true, ""},
        {"STAA", "4100", kLime, true, "5A"},
        {"LDD", "4100", kRed, true, "5A"},
        {"STD", "4200", kLime, false, "1234"},
        {"NOP", "4200", kRed, false, "1234"},
        {"PSHA", "01FF", kLime, true, "12"},
        {"CLV", "01FF", kRed, true, "12"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int64_t cycles = M().CycleCount;
        Click(StepLed());
        TDigitalDisplay* shown = C().Readouts[step.byteShown ? kByte : kWord];
        TDigitalDisplay* hidden = C().Readouts[step.byteShown ? kWord : kByte];
        if (!step.address.isEmpty()) {
            EXPECT_EQ(C().Readouts[kAddress]->Text(), step.address);
        }
        EXPECT_EQ(C().Readouts[kAddress]->Color(), step.colour);
        EXPECT_FALSE(shown->isHidden());
        EXPECT_TRUE(hidden->isHidden());
        if (!step.data.isEmpty()) {
            EXPECT_EQ(shown->Text(), step.data);
        }
        EXPECT_EQ(shown->Color(), step.colour);
        EXPECT_GT(M().CycleCount, cycles);
        EXPECT_EQ(C().CyclesValueLabel->text(), QString::number(M().CycleCount).rightJustified(15));
    }
    EXPECT_EQ(C().Readouts[kA]->Text(), "12");
    EXPECT_EQ(C().Readouts[kB]->Text(), "34");
    EXPECT_EQ(C().Readouts[kSP]->Text(), "01FE");
    EXPECT_EQ(C().Readouts[kCCR]->Text(), "~LS~LX~RH~LI~RN~RZ~RV~RC");
}

// Both layouts put every panel where the layout table says, in a window of fixed size.
TEST_F(FormTest, LayoutsPlaceThePanels) {
    struct Layout {
        const char* item;
        QSize client;
        QRect ledPanel;
        QPoint moda, modb, modaLabel, modbLabel;
        int traceTop, analogTop, rightColumn;
        bool frontEnabled;
    } layouts[] = {
        {"N800x600Menu", {792, 554}, {412, 436, 377, 81}, {157, 44}, {205, 44}, {144, 56}, {192, 56}, 341, 364, 568, false},
        {"N800x600Menu", {632, 434}, {0, 208, 413, 37}, {325, 8}, {373, 8}, {312, 20}, {360, 20}, 184, 244, 408, true},
        {"N640x480Menu", {792, 554}, {412, 436, 377, 81}, {157, 44}, {205, 44}, {144, 56}, {192, 56}, 341, 364, 568, false},
        {"N800x600Menu", {632, 434}, {0, 208, 413, 37}, {325, 8}, {373, 8}, {312, 20}, {360, 20}, 184, 244, 408, true},
    };
    EXPECT_EQ(C().Client->size(), QSize(632, 434));
    for (const Layout& l : layouts) {
        SCOPED_TRACE(std::string(l.item) + " to " + std::to_string(l.client.width()));
        Trigger(l.item);
        EXPECT_EQ(C().Client->size(), l.client);
        EXPECT_EQ(form->size(), QSize(l.client.width(), l.client.height() + form->menuBar()->height()));
        EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "a fixed-size window";
        EXPECT_EQ(C().LedPanel->geometry(), l.ledPanel);
        EXPECT_EQ(C().MODALed->pos(), l.moda);
        EXPECT_EQ(C().MODBLed->pos(), l.modb);
        EXPECT_EQ(C().MODALabel->pos(), l.modaLabel);
        EXPECT_EQ(C().MODBLabel->pos(), l.modbLabel);
        EXPECT_EQ(C().TracePanel->geometry(), QRect(0, l.traceTop, 409, 24));
        EXPECT_EQ(C().AnalogGroupBox->geometry(), QRect(0, l.analogTop, 409, 192));
        EXPECT_EQ(C().CpuPanel->geometry(), QRect(l.rightColumn, 0, 225, 208));
        EXPECT_EQ(C().PortPanel->geometry(), QRect(l.rightColumn, 208, 225, 225));
        EXPECT_EQ(C().ConsolePanel->geometry(), QRect(-12, -3, 581, 348));
        EXPECT_EQ(C().Console->geometry(), QRect(16, 7, 560, 336));
        EXPECT_EQ(form->MenuAction("BringtoFrontMenu")->isEnabled(), l.frontEnabled);
        const bool large = l.client.width() == 792;
        EXPECT_EQ(form->MenuAction("N800x600Menu")->isChecked(), large);
        EXPECT_EQ(form->MenuAction("N640x480Menu")->isChecked(), !large);
    }
}

TEST_F(FormTest, PortGroupsAndTheirLeds) {
    struct Place {
        TPortGroup group;
        QString caption;
        QPoint place;
    } places[] = {
        {PortGInput, "Port G Input", {0, 0}}, {PortGOutput, "Port G Output", {112, 0}},
        {PortFOutput, "Port F Output", {112, 36}}, {PortDInput, "Port D Input", {0, 76}},
        {PortCOutput, "Port C Output", {112, 112}}, {PortBOutput, "Port B Output", {112, 152}},
        {PortAInput, "Port A Input", {0, 186}}, {PortAOutput, "Port A Output", {112, 186}},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.caption.toStdString());
        EXPECT_EQ(C().PortGroups[p.group]->title(), p.caption);
        EXPECT_EQ(C().PortGroups[p.group]->pos(), p.place);
        // Bit 7 on the left.
        EXPECT_LT(C().PortLeds[p.group][7]->x(), C().PortLeds[p.group][0]->x());
    }
    // A click on an input LED sets the pin the program reads.
    Click(C().PortLeds[PortGInput][2]);
    EXPECT_TRUE(static_cast<TGloLed*>(C().PortLeds[PortGInput][2])->LightOn());
    EXPECT_TRUE(M().Panel.PortGroups[PortGInput].Leds[2].Lit);
}

// The memory map after the power-on reset: the on-chip windows, the program chip select in
// red, the unused ranges blank.
TEST_F(FormTest, MemoryMapAfterReset) {
    struct Row {
        int row;
        QString begin, end;
        QColor colour;
    } rows[] = {
        {0, "0000", "03FF", Qt::black}, {1, "1000", "105F", Qt::black},
        {3, "0000", "FFFF", Qt::red},   {4, "", "", QColor(0, 0, 128)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.row);
        EXPECT_EQ(C().RangeBegin[r.row]->text(), r.begin);
        EXPECT_EQ(C().RangeEnd[r.row]->text(), r.end);
        EXPECT_EQ(C().RangeBegin[r.row]->palette().color(QPalette::WindowText), r.colour);
    }
}

// Each slider sets its channel, AN7 on the left to AN0 on the right, and its read-out
// shows the value: the top of a slider is 255.
TEST_F(FormTest, SlidersSetTheirChannels) {
    for (int channel = 1; channel < 8; ++channel)
        EXPECT_LT(C().AnalogInputs[channel]->x(), C().AnalogInputs[channel - 1]->x());
    struct Move {
        int channel, position, value;
    } moves[] = {{0, 0, 255}, {7, 255, 0}, {3, 100, 155}};
    for (const Move& move : moves) {
        SCOPED_TRACE(move.channel);
        C().AnalogInputs[move.channel]->setValue(move.position);
        form->FlushRepaint();
        EXPECT_EQ(M().AnalogInputValue[move.channel], move.value);
        EXPECT_EQ(C().AnalogDisplays[move.channel]->Value(), move.value);
        EXPECT_EQ(C().AnalogInputs[move.channel]->toolTip(), QString("Change Voltage on AN%1").arg(move.channel));
    }
}

// Hints off leaves no tooltip anywhere; hints on brings them back.
TEST_F(FormTest, HintsSwitch) {
    auto tooltips = [this] {
        int count = 0;
        for (QWidget* widget : form->findChildren<QWidget*>())
            if (!widget->toolTip().isEmpty()) ++count;
        return count;
    };
    const int shown = tooltips();
    EXPECT_GT(shown, 100);
    EXPECT_EQ(form->MenuAction("HintsMenu")->text(), "&Hints Off");
    Trigger("HintsMenu");
    EXPECT_EQ(tooltips(), 0);
    EXPECT_EQ(form->MenuAction("HintsMenu")->text(), "&Hints On");
    Load("count_up");  // hints that change while off stay off
    EXPECT_EQ(tooltips(), 0);
    Trigger("HintsMenu");
    EXPECT_EQ(tooltips(), shown);
    EXPECT_EQ(RunLed()->toolTip(), " Click to Run the Program \n     (Without Trace)      ");
}

TEST_F(FormTest, ViewItemsFlip) {
    const char* items[] = {"LoadingMenu", "TraceMenu", "InternalRegistersMenu", "ADSamplingMenu",
                           "IOOperationsMenu", "InterruptsMenu", "WarningsMenu", "ChipSpeedMenu"};
    for (const char* item : items) {
        SCOPED_TRACE(item);
        const bool before = form->MenuAction(item)->isChecked();
        Trigger(item);
        EXPECT_EQ(form->MenuAction(item)->isChecked(), !before);
        Trigger(item);
        EXPECT_EQ(form->MenuAction(item)->isChecked(), before);
    }
    EXPECT_TRUE(form->MenuAction("WarningsMenu")->isChecked()) << "Warnings is on at start";
}

// The log gets one line per step, also in WAI, and one when an untraced run stops.
TEST_F(FormTest, LogFileLines) {
    const std::string path = TempPath("window.log");
    std::filesystem::remove(path);
    Load("count_up");
    form->AnswerNextFileQuestion(path);
    Answers = {TMessageResult::Yes};  // create it
    Trigger("LogMenu");
    ASSERT_TRUE(M().LogFile.IsOpen());
    auto lines = [&] {
        std::ifstream file(path);
        return std::count(std::istreambuf_iterator<char>(file), {}, '\n');
    };
    Click(StepLed());  // the reset
    for (int step = 1; step <= 3; ++step) {
        const auto before = lines();
        Click(StepLed());
        EXPECT_EQ(lines(), before + 1) << "step " << step;
    }
    const auto beforeRun = lines();
    Later(30, [&] { Click(RunLed()); });
    Click(RunLed());
    EXPECT_EQ(lines(), beforeRun + 1) << "an untraced run writes one line when it stops";

    Load("irq_wakes_wai");
    Click(StepLed());  // the reset
    for (int step = 1; step <= 6; ++step) {  // LDS, CLR, CLI, WAI, then two steps in WAI
        const auto before = lines();
        Click(StepLed());
        EXPECT_EQ(lines(), before + 1) << "step " << step;
    }
    EXPECT_EQ(C().InstructionLabel->text(), "WAI");

    Answers = {TMessageResult::Yes};  // close it
    form->AnswerNextFileQuestion(path);
    Answers.push_back(TMessageResult::No);  // and do not replace it
    Trigger("LogMenu");
    EXPECT_FALSE(M().LogFile.IsOpen());
    EXPECT_THAT(Messages, ::testing::Contains(path + " is open\rOK to close it?"));
}

// The machine's questions as real message boxes: their icon, buttons and text.
TEST_F(FormTest, MessageDialogs) {
    form->SetMessageAnswerer(nullptr);
    struct Case {
        TMessageKind kind;
        TMessageButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons shown;
        QMessageBox::StandardButton pressed;
        TMessageResult result;
    } cases[] = {
        {TMessageKind::Warning, TMessageButtons::OkCancel, QMessageBox::Warning,
         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, TMessageResult::Cancel},
        {TMessageKind::Information, TMessageButtons::Ok, QMessageBox::Information, QMessageBox::Ok,
         QMessageBox::Ok, TMessageResult::Ok},
        {TMessageKind::Confirmation, TMessageButtons::YesNo, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, TMessageResult::Yes},
        {TMessageKind::BreakPoint, TMessageButtons::Ok, QMessageBox::Information, QMessageBox::Ok,
         QMessageBox::Ok, TMessageResult::Ok},
        {TMessageKind::Reset, TMessageButtons::Ok, QMessageBox::Information, QMessageBox::Ok,
         QMessageBox::Ok, TMessageResult::Ok},
        {TMessageKind::WriteFailed, TMessageButtons::Ok, QMessageBox::Warning, QMessageBox::Ok,
         QMessageBox::Ok, TMessageResult::Ok},
    };
    for (const Case& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons shown;
        QString text;
        Later(30, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            shown = box->standardButtons();
            text = box->text();
            box->button(c.pressed)->click();
        });
        EXPECT_EQ(form->ShowMessage(c.kind, c.buttons, "first\rsecond"), c.result);
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(text, "first\nsecond");
    }
}

TEST_F(FormTest, BreakPointDialog) {
    Load("count_up");
    Later(30, [&] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "BreakPoint");
        auto* edit = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(edit, "2a07");
        EXPECT_EQ(edit->text(), "2A07");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    Trigger("SetBreakPointMenu");
    EXPECT_EQ(M().BreakPointAddress, 0x2A07);
}

}  // namespace
}  // namespace hexmoor::testing
