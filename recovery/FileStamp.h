#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What a program file was when the editor read or wrote it, so that a change by another program (a CAM
// system writing a new version, a DNC tool, a colleague on a shared folder) is told from the editor's own
// save and from a file only touched.
struct FileStamp
{
    bool exists = false;
    qint64 size = -1;
    QDateTime modified;
    QByteArray hash; // of the contents; empty when the file could not be read

    // The same contents: a file whose time alone changed is the same file.
    bool SameContents(const FileStamp &other) const
    {
        return exists == other.exists && size == other.size && hash == other.hash;
    }
};

// Reads the file now: its size, time and a hash of its bytes.
FileStamp StampOfFile(const QString &path);
