#include "app/window/WindowPlacement.h"

#include <algorithm>

namespace placement {
namespace {

// Enough of the title bar to grab the window and move it.
constexpr int GrabWidth = 100;
constexpr int TitleHeight = 30;

bool TitleBarShows(const QRect &window, const QList<QRect> &screens)
{
    const QRect titleBar(window.left(), window.top(), window.width(), std::min(TitleHeight, window.height()));
    for (const QRect &screen : screens) {
        const QRect shown = titleBar.intersected(screen);
        if (shown.height() == titleBar.height() && shown.width() >= std::min(GrabWidth, titleBar.width()))
            return true;
    }
    return false;
}

int UsableLength(int wanted, int minimum, int fallback, int largest)
{
    if (wanted < minimum)
        return fallback;
    return std::min(wanted, largest);
}

} // namespace

QRect UsablePlacement(const QRect &wanted, const QRect &fallback, const QList<QRect> &screens)
{
    // The default size stays as it is even on a smaller screen: it is what a first start has always used.
    int largestWidth = fallback.width();
    int largestHeight = fallback.height();
    for (const QRect &screen : screens) {
        largestWidth = std::max(largestWidth, screen.width());
        largestHeight = std::max(largestHeight, screen.height());
    }
    QRect placed(wanted.topLeft(),
                 QSize(UsableLength(wanted.width(), MinimumWidth, fallback.width(), largestWidth),
                       UsableLength(wanted.height(), MinimumHeight, fallback.height(), largestHeight)));
    if (screens.isEmpty() || TitleBarShows(placed, screens))
        return placed;
    placed.moveTopLeft(fallback.topLeft());
    if (!TitleBarShows(placed, screens))
        placed.moveTopLeft(screens.constFirst().topLeft());
    return placed;
}

} // namespace placement
