#pragma once

#include <QByteArray>
#include <QString>

// Rich-text files the editor may be handed: their plain text, as the rich-text pane shows it.
namespace rtf {

// True when the bytes are a rich-text document (they begin with "{\rtf").
bool IsRichText(const QByteArray &bytes);

struct PlainTextResult
{
    QString text;
    // The braces do not pair up (a group never closes) or groups nest deeper than the reader keeps apart:
    // the text is what could be read, and may lack some or hold text of groups that are no text.
    bool damaged = false;
};

// The plain text of a rich-text document: paragraph and line marks become CR LF, \tab a tab, \'hh
// escapes and 8-bit bytes are code page 932 bytes, \uN a UTF-16 unit; font, colour, style sheet,
// information, picture and other destination groups are skipped. Never fails: unbalanced braces,
// unknown words and deep nesting are read as far as they make sense, and reported.
PlainTextResult ReadPlainText(const QByteArray &bytes);
QString PlainText(const QByteArray &bytes);

} // namespace rtf
