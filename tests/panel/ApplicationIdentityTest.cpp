// The taskbar finds the running window's menu entry and shows the Hexmoor icon.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

#include "panel/ApplicationIdentity.h"

namespace hexmoor::testing {
namespace {

TEST(ApplicationIdentity, NamesTheInstalledMenuEntryAndCarriesItsIconInEverySize) {
    SetApplicationIdentity();
    const QString entry = QStringLiteral(HEXMOOR_PACKAGING_DIR "/") + QGuiApplication::desktopFileName() + ".desktop";
    EXPECT_TRUE(QFileInfo::exists(entry)) << entry.toStdString();
    for (int size : {48, 128, 256})
        EXPECT_EQ(QGuiApplication::windowIcon().pixmap(QSize(size, size)).size(), QSize(size, size)) << size;
}

}  // namespace
}  // namespace hexmoor::testing
