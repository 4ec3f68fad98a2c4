#include "app/pane/AppFonts.h"

#include <QApplication>
#include <gtest/gtest.h>

// The window tests need one QApplication for the whole run, on the offscreen platform.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallJapaneseFontSubstitutes();
    return RUN_ALL_TESTS();
}
