#include <QApplication>
#include <gtest/gtest.h>

// The dialog tests need an application object; they run under QT_QPA_PLATFORM=offscreen.
int main(int argc, char *argv[])
{
    // Also when the build lists the tests, which runs this program without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
