#pragma once

#include <QString>

// What the edit commands need of the clipboard: clear it, put text on it, read text from it.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    virtual void Clear() = 0;
    virtual void SetText(const QString &text) = 0;
    // The clipboard's text with CR LF line ends; the empty text when it holds no text.
    virtual QString Text() const = 0;
};
