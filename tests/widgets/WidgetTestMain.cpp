// The widget tests run inside a QApplication, on the offscreen platform that CTest sets in
// their environment. Listing the tests (as the build does to register them) needs none.
// Each process has a configuration folder of its own: remembered debug sessions never come
// from the user's, nor from another test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    const QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    QApplication application(argc, argv);
    application.setApplicationName("68HC11F1 Virtual Machine");
    return RUN_ALL_TESTS();
}
