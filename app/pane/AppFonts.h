#pragma once

#include <QFont>

// The panes, labels and dialogs ask for the Japanese Windows gothic faces by name; where those are not
// installed, an installed Japanese gothic face stands in so that every Japanese text renders.
void InstallJapaneseFontSubstitutes();

// "ＭＳ ゴシック" (fixed pitch) and "ＭＳ Ｐゴシック" (proportional) at the given point size.
QFont GothicFont(qreal pointSize);
QFont PGothicFont(qreal pointSize);
