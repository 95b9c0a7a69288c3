#include "panel/ApplicationIdentity.h"

#include <QGuiApplication>
#include <QIcon>

namespace hexmoor {

void SetApplicationIdentity() {
    QGuiApplication::setDesktopFileName(kDesktopFileName);
    // The menu's icon, built into the program in the sizes a taskbar asks for, so that it
    // shows even where the icon theme lacks it (a program run from its build folder).
    QIcon icon;
    for (int size : {48, 128, 256}) icon.addFile(QString(":/icons/hexmoor-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
}

}  // namespace hexmoor
