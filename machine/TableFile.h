#pragma once

#include "machine/ConversionTable.h"

#include <QByteArray>
#include <QString>

// The conversion table file: code page 932, CR LF, two header lines, then one line of three fields per
// table row. Fields are read as a stream, three to a row, not line by line.

// How reading or writing the table file ended: ok, or the message the window or the command line shows.
struct TableFileResult
{
    bool ok = true;
    QString message;
    // Table rows a read has filled; rows filled before a failure keep their new values.
    int rowsRead = 0;
};

// "オークマ 旋盤 FANUC-OSP.csv": the table file the application finds in its own folder on a first start.
QString DefaultTableFileName();
// Where the default table and the example program are: the executable's own folder when the table stands
// there (a build folder), else share/brindlewick/ beside the bin/ folder of an installed executable, else
// the executable's folder.
QString DataFolder(const QString &applicationFolder);
// "変換ファイル名エラー": every read failure shows this text.
QString TableReadErrorMessage();
// The table file's full path from the remembered folder and file name.
QString TableFilePath(const QString &folder, const QString &fileName);

// Fills table rows 1, 2, ... from the file's fields; rows the file does not reach keep their values.
TableFileResult ReadTableFile(const QByteArray &bytes, ConversionTable &table);
TableFileResult ReadTableFile(const QString &path, ConversionTable &table);

// The file's text exactly as written, before encoding.
QString TableFileText(const ConversionTable &table);
// The file's bytes; fails (bytes left empty) when a field holds a double quote, which the format cannot
// carry, or a character code page 932 cannot hold.
TableFileResult EncodeTableFile(const ConversionTable &table, QByteArray &bytes);
// Replaces the file at `path` through a temporary file renamed over it, so a failed write never leaves
// half a table behind. The table itself is never changed.
TableFileResult WriteTableFile(const QString &path, const ConversionTable &table);
