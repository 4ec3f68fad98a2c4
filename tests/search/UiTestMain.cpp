#include <QApplication>
#include <gtest/gtest.h>

// The dialog tests need an application object; they run under QT_QPA_PLATFORM=offscreen.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
