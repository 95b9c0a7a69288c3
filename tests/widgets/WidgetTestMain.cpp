// The widget tests run inside a QApplication (on the offscreen platform under CTest).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("68HC11F1 Virtual Machine");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
