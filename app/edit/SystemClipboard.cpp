#include "app/edit/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void SystemClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

void SystemClipboard::SetText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

// Our own text comes back exactly as it was put there: a lone CR or LF inside one of our lines is program
// text, not a line end.
QString SystemClipboard::Text() const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QString text = clipboard->text();
    return clipboard->ownsClipboard() ? text : WithCrLfLineEnds(text);
}

QString WithCrLfLineEnds(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\r') {
            result += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            result += QStringLiteral("\r\n");
        } else {
            result += c;
        }
    }
    return result;
}
