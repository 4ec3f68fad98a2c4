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
    // The text pane stays responsive up to these: larger files and longer lines are refused with a reason
    // (the command-line tool converts them whatever their size).
    static constexpr qint64 LargestFile = 64 * 1024 * 1024;
    static constexpr qsizetype LongestLine = 1000000;

    struct ReadResult
    {
        bool ok = false;
        QString text;
        QString failure; // why the file could not be read
        bool hadInvalidBytes = false;
        bool hadNulBytes = false;
        bool wasRichText = false;
        bool damagedRichText = false; // braces that do not pair up, or nesting too deep to follow
    };

    struct WriteResult
    {
        bool ok = false;
        QString failure; // why nothing was written
    };

    // A failed read leaves what the next write remembers of the document as it was.
    ReadResult Read(const QString &path);
    WriteResult Write(const QString &path, const QString &text);
    // The next write encodes its text afresh (a new document).
    void Forget();

private:
    // Kept only when encoding the text read would not give back the bytes read.
    QString m_readText;
    QByteArray m_readBytes;
};
