#include "panel/AboutBox.h"

#include <QLabel>
#include <QPushButton>

#include "Version.h"
#include "panel/Glyphs.h"

namespace hexmoor {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Hexmoor");
    setFixedSize(420, 298);
    auto* picture = new QLabel(this);
    picture->setPixmap(AboutPicture());
    picture->setFrameShape(QFrame::Panel);
    picture->setFrameShadow(QFrame::Sunken);
    picture->setGeometry(16, 16, 164, 244);
    const QString texts[] = {"Product Name: Hexmoor", QString("Version: ") + kVersion, "68HC11F1 Virtual Machine"};
    int top = 40;
    for (const QString& text : texts) {
        auto* label = new QLabel(text, this);
        label->setGeometry(204, top, 200, 20);
        top += 40;
    }
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    ok->setGeometry(300, 256, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace hexmoor
