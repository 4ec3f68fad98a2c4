#include <QApplication>
#include <gtest/gtest.h>

// The dialog tests need an application object. Test discovery runs this program during the build too,
// where no display may exist: without a platform chosen, it runs offscreen.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
