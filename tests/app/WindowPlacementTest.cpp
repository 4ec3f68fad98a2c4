#include "app/window/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

using placement::UsablePlacement;

// The default of a first start at 96 dots per inch: (1000, 1000) twips, 12000 x 10000 twips.
const QRect Default(67, 67, 800, 667);
const QRect Laptop(0, 0, 1366, 738);
// A second screen to the left of the first, as multi-screen desktops have it.
const QRect LeftScreen(-1920, 0, 1920, 1050);

TEST(WindowPlacement, KeepsWhatIsUsableAndRepairsTheRest)
{
    struct Case
    {
        const char *what;
        QRect wanted;
        QList<QRect> screens;
        QRect placed;
    };
    const Case cases[] = {
        {"a usable placement stays", QRect(100, 50, 600, 400), {Laptop}, QRect(100, 50, 600, 400)},
        {"the default stays, even larger than the screen", Default, {QRect(0, 0, 800, 600)}, Default},
        {"partly off the right edge, title bar still there",
         QRect(1200, 10, 600, 400),
         {Laptop},
         QRect(1200, 10, 600, 400)},
        {"on the screen to the left",
         QRect(-1500, 100, 900, 700),
         {Laptop, LeftScreen},
         QRect(-1500, 100, 900, 700)},
        {"too narrow takes the default width", QRect(100, 50, 10, 400), {Laptop}, QRect(100, 50, 800, 400)},
        {"negative height takes the default height",
         QRect(100, 50, 600, -400),
         {Laptop},
         QRect(100, 50, 600, 667)},
        {"huge is cut to the largest screen",
         QRect(0, 0, 100000000, 100000000),
         {Laptop, LeftScreen},
         QRect(0, 0, 1920, 1050)},
        {"far off to the right goes to the default place",
         QRect(100000000, 50, 600, 400),
         {Laptop},
         QRect(67, 67, 600, 400)},
        {"above the top goes to the default place",
         QRect(100, -20, 600, 400),
         {Laptop},
         QRect(67, 67, 600, 400)},
        {"far off to the left goes to the default place",
         QRect(-100000000, -100000000, 600, 400),
         {Laptop},
         QRect(67, 67, 600, 400)},
        {"the default place off every screen: the first screen's corner",
         QRect(-5000, 5000, 600, 400),
         {QRect(2000, 0, 1024, 768)},
         QRect(2000, 0, 600, 400)},
        {"only a sliver of the title bar showing",
         QRect(1300, 10, 600, 400),
         {Laptop},
         QRect(67, 67, 600, 400)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(UsablePlacement(c.wanted, Default, c.screens), c.placed) << c.what;
}

} // namespace
