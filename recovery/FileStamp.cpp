#include "recovery/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

FileStamp StampOfFile(const QString &path)
{
    FileStamp stamp;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return stamp;
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (hash.addData(&file))
        stamp.hash = hash.result();
    return stamp;
}
