#pragma once

#include <QByteArray>
#include <QString>

// Program files: read whole as code page 932 text (or the plain text of a rich-text file), written whole
// as code page 932 plain text through a temporary file in the same folder that replaces the old file.
// A text saved unchanged is written with exactly the bytes it was read from, even where code page 932
// has two codes for one character or the file held bytes that are no character.
class DocumentFile
{
public:
    struct ReadResult
    {
        bool ok = false;
        QString text;
        QString failure; // why the file could not be read
        bool hadInvalidBytes = false;
        bool wasRichText = false;
    };

    struct WriteResult
    {
        bool ok = false;
        QString failure; // why nothing was written
    };

    ReadResult Read(const QString &path);
    WriteResult Write(const QString &path, const QString &text);
    // The next write encodes its text afresh (a new document).
    void Forget();

private:
    // Kept only when encoding the text read would not give back the bytes read.
    QString m_readText;
    QByteArray m_readBytes;
};
