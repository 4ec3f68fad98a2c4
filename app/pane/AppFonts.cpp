#include "app/pane/AppFonts.h"

#include <QStringList>

namespace {
const QString Gothic = QStringLiteral("ＭＳ ゴシック");
const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
} // namespace

void InstallJapaneseFontSubstitutes()
{
    // Fixed-pitch stand-ins first for the fixed-pitch face, so program columns stay aligned.
    QFont::insertSubstitutions(Gothic,
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                                QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
                                QStringLiteral("TakaoGothic"), QStringLiteral("Droid Sans Fallback")});
    QFont::insertSubstitutions(PGothic,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                                QStringLiteral("TakaoPGothic"), QStringLiteral("Droid Sans Fallback")});
}

QFont GothicFont(qreal pointSize)
{
    QFont font(Gothic);
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont PGothicFont(qreal pointSize)
{
    QFont font(PGothic);
    font.setPointSizeF(pointSize);
    return font;
}
