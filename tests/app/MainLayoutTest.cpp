#include "app/window/MainLayout.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

void ExpectRect(const TwipsRect &actual, const TwipsRect &expected, const char *what)
{
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.width, expected.width) << what;
    EXPECT_EQ(actual.height, expected.height) << what;
}

TEST(MainLayout, PlacesTheControlsInTwips)
{
    const struct
    {
        float width, height;
        TwipsRect source, result, ok, cancel, label1, label2;
    } cases[] = {
        {12000,
         10000,
         {40, 970, 5800, 7810},
         {5900, 970, 5800, 7810},
         {9350, 550, 1100, 375},
         {10550, 550, 1100, 375},
         {80, 650, 5790, 365},
         {5900, 650, 5000, 365}},
        {9001,
         4321,
         {40, 970, 4300.5f, 2131},
         {4400.5f, 970, 4300.5f, 2131},
         {6351, 550, 1100, 375},
         {7551, 550, 1100, 375},
         {80, 650, 4290.5f, 365},
         {4400.5f, 650, 5000, 365}},
        // Too small for the panes: nothing is negative.
        {300,
         1000,
         {40, 970, 0, 0},
         {100, 970, 0, 0},
         {-2350, 550, 1100, 375},
         {-1150, 550, 1100, 375},
         {80, 650, 0, 365},
         {100, 650, 5000, 365}},
        {405,
         2195,
         {40, 970, 2.5f, 5},
         {102.5f, 970, 2.5f, 5},
         {-2245, 550, 1100, 375},
         {-1045, 550, 1100, 375},
         {80, 650, 0, 365},
         {102.5f, 650, 5000, 365}},
    };
    for (const auto &c : cases) {
        const MainLayout layout = ComputeMainLayout(c.width, c.height);
        EXPECT_EQ(layout.lineRight, c.width);
        ExpectRect(layout.RichTextBox1, c.source, "RichTextBox1");
        ExpectRect(layout.RichTextBox2, c.result, "RichTextBox2");
        ExpectRect(layout.Command1, c.ok, "Command1");
        ExpectRect(layout.Command2, c.cancel, "Command2");
        ExpectRect(layout.Label1, c.label1, "Label1");
        ExpectRect(layout.Label2, c.label2, "Label2");
    }
}

TEST(MainLayout, ConvertsTwipsAtTheScreenResolution)
{
    const TwipsScale at96{96, 96};
    EXPECT_EQ(at96.ToPixelsX(1440), 96);
    EXPECT_EQ(at96.ToPixelsY(510), 34);
    EXPECT_EQ(at96.ToPixelsY(520), 35);
    EXPECT_EQ(at96.ToTwipsX(800), 12000.0f);
    const TwipsScale at120{120, 144};
    EXPECT_EQ(at120.ToPixelsX(12000), 1000);
    EXPECT_EQ(at120.ToPixelsY(10000), 1000);
    EXPECT_EQ(at120.ToTwipsY(1000), 10000.0f);
}

// Stored placements may be garbage: no value gives a pixel count beyond what a window can be given.
TEST(MainLayout, KeepsGarbageTwipsWithinReach)
{
    const TwipsScale at96{96, 96};
    EXPECT_EQ(at96.ToPixelsX(1e30f), 100000000);
    EXPECT_EQ(at96.ToPixelsY(-1e30f), -100000000);
    EXPECT_EQ(at96.ToPixelsX(std::numeric_limits<float>::infinity()), 100000000);
    EXPECT_EQ(at96.ToPixelsX(std::numeric_limits<float>::quiet_NaN()), 0);
}

} // namespace
