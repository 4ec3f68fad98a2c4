#include <QApplication>
#include <gtest/gtest.h>

// The dialog tests need an application object; without a display they draw off screen (the build lists
// the tests by running this program, where no display may be set).
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
