#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

// The recovery copy of a program that was being edited: a short header (the format's version, the file
// the program belongs to, when the copy was taken, the text's encoding, length and checksum), then the
// text in the program's encoding, code page 932, or in UTF-8 when it holds a character code page 932
// cannot, so that nothing typed is lost.
namespace recovery {

struct CopyContents
{
    QString documentPath; // empty for a program never saved
    QDateTime written;    // UTC
    QString text;         // the program text, CR LF line ends as typed
};

enum class ReadStatus
{
    Read,
    Broken,      // cut short, changed, or not a recovery copy at all
    OtherVersion // written by another version of the editor, in a format this one does not know
};

struct ReadCopy
{
    ReadStatus status = ReadStatus::Broken;
    CopyContents contents;
    QString reason; // why it could not be read
};

QByteArray EncodeCopy(const CopyContents &contents);
ReadCopy DecodeCopy(QByteArrayView bytes);

} // namespace recovery
