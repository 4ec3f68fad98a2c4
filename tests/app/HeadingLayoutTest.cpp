#include "app/window/HeadingLayout.h"
#include "app/window/MainLayout.h"

#include <gtest/gtest.h>

namespace {

QRect Pixels(const TwipsRect &r, const TwipsScale &scale)
{
    return {scale.ToPixelsX(r.left), scale.ToPixelsY(r.top), scale.ToPixelsX(r.width),
            scale.ToPixelsY(r.height)};
}

// Where a text of `width` pixels is drawn in a label placed at `label` (from its left edge).
QRect TextIn(const QRect &label, int width)
{
    return {label.left(), label.top(), std::min(width, label.width()), label.height()};
}

// Over every window width from narrow to wide, for short and long file names and with and without a
// count, no text runs into another or under a button, the notice is whole, and a heading that fits is
// left exactly where the window has always put it.
TEST(HeadingLayout, KeepsTheNoticeClearOfTheButtonsAtEveryWidth)
{
    const TwipsScale scale{96, 96};
    const int gap = 8;
    for (const int notice : {40, 265, 330}) {
        for (const int label1 : {0, 70, 500}) {
            for (const int count : {0, 95}) {
                for (int width = 200; width <= 2600; width += 3) {
                    const MainLayout layout = ComputeMainLayout(scale.ToTwipsX(width), 10000);
                    const HeadingPlaces given{Pixels(layout.Label1, scale),
                                              Pixels(layout.Label2, scale),
                                              {},
                                              Pixels(layout.Command1, scale),
                                              Pixels(layout.Command2, scale)};
                    const HeadingPlaces p = PlaceHeading(given, {label1, notice, count}, gap);
                    const std::string where = "width " + std::to_string(width) + " notice " +
                                              std::to_string(notice) + " name " + std::to_string(label1) +
                                              " count " + std::to_string(count);
                    const QRect noticeText(p.notice.left(), p.notice.top(), notice, p.notice.height());
                    const QRect nameText = TextIn(p.label1, label1);
                    ASSERT_GE(p.notice.width(), notice) << where;
                    ASSERT_FALSE(noticeText.intersects(p.ok)) << where;
                    ASSERT_FALSE(noticeText.intersects(p.cancel)) << where;
                    ASSERT_FALSE(p.ok.intersects(p.cancel)) << where;
                    ASSERT_LE(noticeText.right() + gap, p.ok.left()) << where;
                    if (label1 > 0 && !nameText.isEmpty()) {
                        ASSERT_FALSE(nameText.intersects(noticeText)) << where;
                    }
                    if (!p.count.isEmpty()) {
                        ASSERT_LE(p.count.width(), count) << where;
                        for (const QRect &other : {noticeText, p.ok, p.cancel, nameText})
                            ASSERT_FALSE(p.count.intersects(other)) << where;
                    }
                    const bool fits = given.notice.left() + notice + gap <= given.ok.left();
                    if (fits) {
                        EXPECT_EQ(p.notice, given.notice) << where;
                        EXPECT_EQ(p.ok, given.ok) << where;
                        EXPECT_EQ(p.cancel, given.cancel) << where;
                    }
                    // the buttons give way only when the notice cannot move further left
                    if (p.ok != given.ok) {
                        EXPECT_EQ(p.notice.left(), p.label1.left() + label1 + gap) << where;
                    }
                }
            }
        }
    }
}

// The count goes after the notice when it fits there, before it when not, and is cut when even that room
// is short.
TEST(HeadingLayout, PutsTheCountWhereThereIsRoom)
{
    const HeadingPlaces given{
        QRect(5, 43, 380, 24), QRect(393, 43, 333, 24), {}, QRect(623, 37, 73, 25), QRect(703, 37, 73, 25)};
    const struct
    {
        int label1, notice, count;
        QRect expected;
    } cases[] = {
        {60, 100, 90, QRect(501, 43, 90, 24)},  // after the notice
        {60, 250, 90, QRect(267, 43, 90, 24)},  // before the notice, which has moved left to fit
        {260, 250, 90, QRect(273, 43, 84, 24)}, // before it, cut at the end of the file name
        {340, 250, 90, QRect()},                // too little room to be read
    };
    for (const auto &c : cases) {
        const HeadingPlaces p = PlaceHeading(given, {c.label1, c.notice, c.count}, 8);
        EXPECT_EQ(p.count, c.expected) << c.label1 << " " << c.notice;
    }
}

} // namespace
