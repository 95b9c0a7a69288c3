// The widget tests run inside a QApplication, on the offscreen platform that CTest sets in
// their environment. Listing the tests (as the build does to register them) needs none.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    application.setApplicationName("68HC11F1 Virtual Machine");
    return RUN_ALL_TESTS();
}
