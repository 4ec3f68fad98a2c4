#pragma once

#include <QFont>

// The search dialogs show their controls in these two Japanese fonts (or the nearest the system has).
inline QFont SearchDialogFont()
{
    return QFont(QStringLiteral("ＭＳ ゴシック"));
}

inline QFont SearchOptionFont()
{
    return QFont(QStringLiteral("ＭＳ Ｐゴシック"));
}
