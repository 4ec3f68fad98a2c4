#pragma once

#include <QList>
#include <QRect>

// Where the main window goes at start-up, in pixels, from the outer bounds the settings store held. The
// stored values may come from another screen or be garbage: the window must still show on a screen, at a
// size one can work with.
namespace placement {

// Below this the panes and buttons no longer fit.
constexpr int MinimumWidth = 320;
constexpr int MinimumHeight = 240;

// `wanted` as far as it is usable: a width or height below the minimum takes the default's (`fallback`);
// one larger than every screen (and than the default) is cut to the largest; a window whose title bar
// would not show on any screen (`screens`: their available areas) goes to the default place, or to the
// first screen's corner when that too is off every screen.
QRect UsablePlacement(const QRect &wanted, const QRect &fallback, const QList<QRect> &screens);

} // namespace placement
