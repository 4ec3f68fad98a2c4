#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

// Program and table files are Shift-JIS as Japanese Windows writes them (code page 932); 0x5C stays a
// backslash.
namespace nc {

struct DecodedText
{
    QString text;
    bool hadInvalidBytes = false; // bytes that are no code page 932 character, shown as U+001A or U+FFFD
};

DecodedText DecodeCp932(QByteArrayView bytes);
// The same appended to `text`, in the room it already has when that is enough; true when there were
// bytes that are no character.
bool AppendCp932(QByteArrayView bytes, QString &text);

// The end of a piece of `bytes` that starts at `from` and is about `size` bytes long: just after a CR LF
// (or the end of the bytes). No character reaches over such a place, so the pieces decoded one by one give
// the text decoded whole.
qsizetype PieceEnd(QByteArrayView bytes, qsizetype from, qsizetype size);
// The ends of all the pieces of `bytes`, in order, each just after a CR LF but the last.
std::vector<qsizetype> PieceEnds(QByteArrayView bytes, qsizetype size);

// Whether every byte sequence is a code page 932 character: decoded, such bytes give only characters that
// can be written again.
bool IsCleanCp932(QByteArrayView bytes);

struct EncodedText
{
    QByteArray bytes;
    // The 0-based index in the text of the first character code page 932 cannot hold; -1 when none.
    qsizetype badIndex = -1;
    bool ok() const { return badIndex < 0; }
};

EncodedText EncodeCp932(QStringView text);

// Writes `text` in code page 932 through `write`, a piece at a time, so that the bytes of a long text are
// never held whole. Nothing is written when a character cannot be: the 0-based index of the first such
// character is returned then, -1 otherwise.
qsizetype WriteCp932(QStringView text, const std::function<void(QByteArrayView)> &write);

} // namespace nc
