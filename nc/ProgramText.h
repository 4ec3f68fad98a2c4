#pragma once

#include <QByteArray>
#include <QString>

// Program and table files are Shift-JIS as Japanese Windows writes them (code page 932); 0x5C stays a
// backslash.
namespace nc {

struct DecodedText
{
    QString text;
    bool hadInvalidBytes = false; // bytes that are no code page 932 character, shown as U+001A or U+FFFD
};

DecodedText DecodeCp932(const QByteArray &bytes);

struct EncodedText
{
    QByteArray bytes;
    // The 0-based index in the text of the first character code page 932 cannot hold; -1 when none.
    qsizetype badIndex = -1;
    bool ok() const { return badIndex < 0; }
};

EncodedText EncodeCp932(QStringView text);

} // namespace nc
