#include "app/window/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(AboutTest, ShowsCaptionTitleVersionAndIcon)
{
    frmAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), "ﾊﾞｰｼﾞｮﾝ情報 Brindlewick");
    const auto *title = about.findChild<QLabel *>("lblTitle");
    const auto *version = about.findChild<QLabel *>("lblVersion");
    const auto *icon = about.findChild<QLabel *>("picIcon");
    ASSERT_TRUE(title && version && icon);
    EXPECT_EQ(title->text(), "Brindlewick");
    // The build's own version (the project's version numbers), not a text of its own.
    EXPECT_EQ(version->text(), "Ver. " BRINDLEWICK_VERSION);
    EXPECT_EQ(frmAbout::VersionText(), "Ver. " BRINDLEWICK_VERSION);
    EXPECT_FALSE(icon->pixmap().isNull());
}

TEST(AboutTest, TitleAndVersionFonts)
{
    struct Case
    {
        const char *label;
        qreal points;
    };
    const Case cases[] = {{"lblTitle", 20.25}, {"lblVersion", 14.25}};
    frmAbout about(nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const QFont font = about.findChild<QLabel *>(c.label)->font();
        EXPECT_TRUE(font.families().contains("Times New Roman"));
        EXPECT_TRUE(font.bold());
        EXPECT_DOUBLE_EQ(font.pointSizeF(), c.points);
    }
}

TEST(AboutTest, OkClosesTheBox)
{
    frmAbout about(nullptr);
    about.show();
    auto *ok = about.findChild<QPushButton *>("cmdOK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
