#pragma once

#include <QFont>

// The search dialogs show their controls in these two Japanese fonts; where a system lacks them, the
// IPA fonts of the same design stand in.
inline QFont SearchDialogFont()
{
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setFamilies(
        {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")});
    return font;
}

inline QFont SearchOptionFont()
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setFamilies(
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")});
    return font;
}
