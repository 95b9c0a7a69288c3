// hexmoor-gallery DIRECTORY [PROGRAM.s19]: renders the display widgets and the terminal in
// their main states to PNG files there, and the main window in both layouts, after some
// steps of PROGRAM when one is given, so that their look can be reviewed.
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cstdio>

#include "panel/AboutBox.h"
#include "panel/FormStyle.h"
#include "panel/HexmoorForm.h"
#include "panel/widgets/DigDisp.h"
#include "panel/widgets/Digits.h"
#include "panel/widgets/Led.h"
#include "panel/widgets/Lumocrt.h"

using namespace hexmoor;

namespace {

void Save(QWidget& widget, const QDir& directory, const QString& name) {
    widget.adjustSize();
    const QString path = directory.filePath(name + ".png");
    if (!widget.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QWidget* Row(QWidget* parent) {
    auto* row = new QWidget(parent);
    new QHBoxLayout(row);
    parent->layout()->addWidget(row);
    return row;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("68HC11F1 Virtual Machine");
    const QDir directory(argc > 1 ? argv[1] : ".");

    QWidget leds;
    leds.setStyleSheet("background: black");
    new QVBoxLayout(&leds);
    const TLedScheme schemes[] = {kActiveScheme, kDimmedScheme, kSpecialScheme, kDisabledScheme};
    for (int size : {11, 15, 30}) {
        QWidget* row = Row(&leds);
        for (TLedScheme scheme : schemes) {
            for (bool lit : {false, true}) {
                auto* led = new TGloLed(row);
                led->setFixedSize(size, size);
                led->SetBackColor(scheme.Unlit);
                led->SetColor(scheme.Lit);
                led->SetLightOn(lit);
                led->SetBorderStyle(size == 30 ? TLedBorderStyle::bsStatusControl : TLedBorderStyle::bsFlat);
                row->layout()->addWidget(led);
            }
        }
    }
    Save(leds, directory, "leds");

    // Rims on the window's own background, where a black or half-clipped rim would show.
    QWidget rims;
    auto* grid = new QGridLayout(&rims);
    const int widths[] = {0, 1, 2, 4};
    for (int i = 0; i < 4; ++i)
        grid->addWidget(new QLabel(QString("width %1").arg(widths[i])), 0, 1 + 2 * i, 1, 2);
    const std::pair<const char*, TLedBorderStyle> styles[] = {
        {"flat", TLedBorderStyle::bsFlat},
        {"3D", TLedBorderStyle::bsCtl3D},
        {"status", TLedBorderStyle::bsStatusControl},
    };
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(styles[row].first), 1 + row, 0);
        for (int i = 0; i < 4; ++i) {
            for (bool lit : {false, true}) {
                auto* led = new TGloLed(&rims);
                led->setFixedSize(30, 30);
                led->SetColor(kLime);
                led->SetLightOn(lit);
                led->SetBorderStyle(styles[row].second);
                led->SetBorderWidth(widths[i]);
                grid->addWidget(led, 1 + row, 1 + 2 * i + lit);
            }
        }
    }
    Save(rims, directory, "led-rims");

    QWidget displays;
    displays.setStyleSheet("background: black");
    new QVBoxLayout(&displays);
    const char* texts[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "0123456789 :.+-$!@#%&*()=",
                           "\\/?;\",'^_|{}[]<> \xC2\xB0\xC2\xA3", "~LS~LX~RH~LI~RN~LZ~RV~RC",
                           "1F2E  ~[FF8000]LOAD ~Ahex~Wmoor"};
    for (const char* text : texts) {
        auto* display = new TDigitalDisplay(&displays);
        display->setFixedSize(26 * 12, 21);
        display->SetSpacing(1);
        display->SetText(QString::fromUtf8(text));
        displays.layout()->addWidget(display);
    }
    for (TAlignment alignment : {TAlignment::taLeftJustify, TAlignment::taCenter, TAlignment::taRightJustify}) {
        auto* display = new TDigitalDisplay(&displays);
        display->setFixedSize(80, 21);
        display->SetText("01FF");
        display->SetAlignment(alignment);
        displays.layout()->addWidget(display);
    }
    Save(displays, directory, "digital-displays");

    QWidget digits;
    digits.setStyleSheet("background: black");
    new QVBoxLayout(&digits);
    const QImage strip = SevenSegmentDigits(14, 20, QColor(255, 40, 40), QColor(60, 0, 0), Qt::black);
    for (auto [value, count, zeros] : {std::tuple{255, 3, true}, {5, 3, false}, {5, 3, true}, {1234, 3, false},
                                       {987654, 6, false}}) {
        auto* number = new TDigits(&digits);
        number->SetBmpDigits(strip);
        number->SetDigitCount(count);
        number->SetShowLeadingZeros(zeros);
        number->SetValue(value);
        digits.layout()->addWidget(number);
    }
    Save(digits, directory, "digits");

    TLumocrt terminal;
    terminal.SetLineBreak(TLineBreak::CR);
    terminal.WriteText("Hexmoor terminal, 80 x 24\r\n");
    terminal.WriteText("Primes: 2 3 5 7 11 13 17 19 23 29\r\n");
    terminal.SetTextColor(kRed);
    terminal.WriteText("Red text \xB0 degree, \xA3 pound\r\n");
    terminal.SetTextColor(kBlack);
    terminal.WriteText(std::string(85, '*'));
    // A soft hyphen (which the font gives no advance) leaves the rest of its row on the
    // ruler's columns, like the same row with a plain hyphen.
    terminal.WriteText("\r\n\r\n");
    for (int tens = 0; tens < 8; ++tens) terminal.WriteText("1234567890");
    terminal.WriteText("soft\xADhyphen: the columns stay on the grid\r\n");
    terminal.WriteText("soft-hyphen: the columns stay on the grid\r\n");
    // The caret, over the H of the first row, inverts it.
    terminal.GotoXY(1, 1);
    terminal.show();
    terminal.activateWindow();
    terminal.setFocus();
    for (int i = 0; i < 100 && !terminal.hasFocus(); ++i) QApplication::processEvents();
    QApplication::processEvents();
    Save(terminal, directory, "terminal");

    // The window, its dialogs answered OK, after 3000 steps of the program.
    application.setStyle("Fusion");
    application.setFont(SansFont());
    THexmoorForm form;
    form.SetMessageAnswerer([](TMessageKind, TMessageButtons, std::string_view) { return TMessageResult::Ok; });
    form.show();
    for (int i = 0; i < 20 && !form.Machine().Panel.Activated; ++i) QApplication::processEvents();
    TMachine& machine = form.Machine();
    if (argc > 2) {
        form.AnswerNextFileQuestion(argv[2]);
        machine.LoadClick();
        for (int i = 0; i < 3000; ++i) machine.StepLedClick();
    }
    for (const char* name : {"window-640", "window-800"}) {
        form.FlushRepaint();
        QApplication::processEvents();
        const QString path = directory.filePath(QString(name) + ".png");
        if (!form.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        machine.ConfigureMenuClick();
    }
    TAboutBox about;
    about.show();
    QApplication::processEvents();
    if (!about.grab().save(directory.filePath("about.png"))) std::fprintf(stderr, "cannot write about.png\n");
    return 0;
}
