#include "app/window/MainStatusBar.h"
#include "app/window/StatusPanel.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A keyboard whose states the test sets, and a keyboard-locks layer that only records the keys pressed.
struct FakeKeyboard
{
    bool insert = false;
    std::optional<LockIndicators> locks = LockIndicators{};
    std::vector<int> pressed;

    StatusBarSources Sources()
    {
        StatusBarSources sources;
        sources.InsertKeyOn = [this] { return insert; };
        sources.Locks = [this] { return locks; };
        sources.PressKey = [this](int virtualKey) { pressed.push_back(virtualKey); };
        sources.Now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 7, 41)); };
        return sources;
    }
};

struct Panel
{
    const char *key;
    const char *text;
    const char *toolTip;
    int twips;
    int pressesKey; // 0: a click does nothing
};

const Panel Expected[] = {
    {"", "", "", 2540, 0}, // springs; 2540 is its minimum
    {"Insrt Key", "INSRT", "インサートキー", 1411, 45},
    {"Caps Lock", "CAPS", "CAPS LOCKの切り替え", 1411, 20},
    {"Num Lock", "NUM", "NUM LOCKの切り替え", 1411, 144},
    {"", "2024/03/05", "日付の表示", 2064, 0},
    {"", "9:07", "時間表示", 1032, 0},
};

TEST(StatusBarTest, HasTheSixPanelsWithTextsKeysToolTipsAndWidths)
{
    FakeKeyboard keyboard;
    MainStatusBar bar(keyboard.Sources(), nullptr);
    EXPECT_EQ(bar.objectName(), "sbStatusBar");
    for (int i = 1; i <= MainStatusBar::PanelCount; ++i) {
        SCOPED_TRACE(i);
        const Panel &expected = Expected[i - 1];
        const StatusPanel *panel = bar.Panel(i);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->Key(), QString(expected.key));
        EXPECT_EQ(panel->text(), QString(expected.text));
        EXPECT_EQ(panel->toolTip(), QString(expected.toolTip));
        const int pixels = qRound(expected.twips * bar.logicalDpiX() / 1440.0);
        EXPECT_EQ(panel->minimumWidth(), pixels);
        if (i > 1) {
            EXPECT_EQ(panel->maximumWidth(), pixels);
        }
    }
    EXPECT_GT(bar.Panel(1)->maximumWidth(), bar.Panel(1)->minimumWidth());
}

TEST(StatusBarTest, PanelClickPressesTheKeyOfItsPanelOnly)
{
    FakeKeyboard keyboard;
    MainStatusBar bar(keyboard.Sources(), nullptr);
    bar.resize(1200, 30);
    bar.show();
    for (int i = 1; i <= MainStatusBar::PanelCount; ++i) {
        SCOPED_TRACE(i);
        keyboard.pressed.clear();
        QTest::mouseClick(bar.Panel(i), Qt::LeftButton);
        const int key = Expected[i - 1].pressesKey;
        EXPECT_EQ(keyboard.pressed, key == 0 ? std::vector<int>{} : std::vector<int>{key});
    }
    // Only a left click presses a key.
    keyboard.pressed.clear();
    QTest::mouseClick(bar.Panel(4), Qt::RightButton);
    EXPECT_TRUE(keyboard.pressed.empty());
}

TEST(StatusBarTest, IndicatorsShowTheReportedKeyStates)
{
    struct Case
    {
        bool insert;
        std::optional<LockIndicators> locks;
        bool insertLit, capsLit, numLit;
    };
    const Case cases[] = {
        {false, LockIndicators{false, false}, false, false, false},
        {true, LockIndicators{false, false}, true, false, false},
        {false, LockIndicators{true, false}, false, true, false},
        {false, LockIndicators{false, true}, false, false, true},
        {true, LockIndicators{true, true}, true, true, true},
        // A window system that cannot tell: both lock lights dimmed.
        {true, std::nullopt, true, false, false},
    };
    FakeKeyboard keyboard;
    MainStatusBar bar(keyboard.Sources(), nullptr);
    for (const Case &c : cases) {
        keyboard.insert = c.insert;
        keyboard.locks = c.locks;
        bar.Refresh();
        EXPECT_EQ(bar.Panel(2)->IsLit(), c.insertLit);
        EXPECT_EQ(bar.Panel(3)->IsLit(), c.capsLit);
        EXPECT_EQ(bar.Panel(4)->IsLit(), c.numLit);
        // Dimmed is a colour, not a disabled panel, so that it can still be clicked.
        EXPECT_TRUE(bar.Panel(3)->isEnabled());
        const bool sameColour = bar.Panel(3)->palette().color(QPalette::WindowText) ==
                                bar.Panel(4)->palette().color(QPalette::WindowText);
        EXPECT_EQ(sameColour, c.capsLit == c.numLit);
    }
}

TEST(StatusBarTest, DateAndTimeFollowTheClock)
{
    struct Case
    {
        QDateTime now;
        const char *date;
        const char *time;
    };
    const Case cases[] = {
        {QDateTime(QDate(2024, 3, 5), QTime(9, 7)), "2024/03/05", "9:07"},
        {QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), "1999/12/31", "23:59"},
        {QDateTime(QDate(2025, 1, 1), QTime(0, 0)), "2025/01/01", "0:00"},
    };
    QDateTime now;
    StatusBarSources sources;
    sources.Now = [&now] { return now; };
    MainStatusBar bar(sources, nullptr);
    for (const Case &c : cases) {
        now = c.now;
        bar.Refresh();
        EXPECT_EQ(bar.Panel(5)->text(), QString(c.date));
        EXPECT_EQ(bar.Panel(6)->text(), QString(c.time));
    }
}

} // namespace
