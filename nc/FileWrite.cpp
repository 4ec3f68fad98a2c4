#include "nc/FileWrite.h"

#include <QFileInfo>
#include <QSaveFile>
#include <sys/resource.h>
#include <sys/statvfs.h>

namespace nc {
namespace {

// The largest file this process may write (ulimit -f); -1 when there is no limit.
qint64 FileSizeLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return -1;
    return qint64(limit.rlim_cur);
}

// Bytes an unprivileged write may still take on the disk holding `folder`; -1 when unknown.
qint64 FreeSpace(const QString &folder)
{
    struct statvfs disk
    {
    };
    if (statvfs(QFile::encodeName(folder).constData(), &disk) != 0)
        return -1;
    return qint64(disk.f_bavail) * qint64(disk.f_frsize);
}

// Only asked once a write has failed: the first reason that explains the failure, else what the file layer
// said.
QString WriteFailureReason(const QFileInfo &target, qint64 size, const QString &systemError)
{
    if (target.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    const QString folderPath = target.absolutePath();
    const QFileInfo folder(folderPath);
    if (!folder.isDir())
        return QStringLiteral("保存先のフォルダーが見つかりません。");
    if (target.exists() && !target.isWritable())
        return QStringLiteral("ファイルが読み取り専用か、書き込む権限がありません。");
    if (!folder.isWritable())
        return QStringLiteral("フォルダーに書き込む権限がありません。");
    const qint64 limit = FileSizeLimit();
    if (limit >= 0 && size > limit)
        return QStringLiteral("書き込めるファイルの大きさの上限 (%1 バイト) を超えます。").arg(limit);
    const qint64 free = FreeSpace(folderPath);
    if (free >= 0 && size > free)
        return QStringLiteral("ディスクの空き容量が足りません (必要 %1 バイト、空き %2 バイト)。")
            .arg(size)
            .arg(free);
    return systemError;
}

} // namespace

QString ReplaceFile(const QString &path, const QByteArray &bytes)
{
    // QSaveFile writes a temporary file beside the target, copies the old file's permissions to it and
    // renames it over the target on commit; a failed write removes it again.
    const QFileInfo target(path);
    if (target.isDir())
        return WriteFailureReason(target, bytes.size(), QString());
    QSaveFile file(path);
    // Unbuffered, so that the write reports how much really went to the file: a write the disk or a
    // file size limit cut short, left in the device's buffer, would be committed as if whole.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteFailureReason(target, bytes.size(), file.errorString());
    // The size check catches a short write whatever layer swallowed it.
    if (file.write(bytes) != bytes.size() || file.size() != bytes.size() || !file.commit()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return WriteFailureReason(target, bytes.size(), error);
    }
    return QString();
}

} // namespace nc
