#include "recovery/RecoveryStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>

namespace {

const QString LockSuffix = QStringLiteral(".lock");

QString LockPathOf(const QString &copyPath)
{
    return copyPath.left(copyPath.size() - RecoveryStore::CopySuffix().size()) + LockSuffix;
}

} // namespace

RecoveryStore::RecoveryStore(QString folder) : m_folder(std::move(folder))
{
    // The process, the moment and chance: unique among the editors that share the folder.
    m_id = QStringLiteral("%1-%2-%3")
               .arg(QCoreApplication::applicationPid())
               .arg(QDateTime::currentMSecsSinceEpoch())
               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

RecoveryStore::~RecoveryStore() = default;

bool RecoveryStore::Open(QString &error)
{
    if (!QDir().mkpath(m_folder)) {
        error = QStringLiteral("フォルダ \"%1\" を作れません").arg(m_folder);
        return false;
    }
    RemoveLocksOfEditorsGone();
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(m_id + LockSuffix));
    if (!m_lock->tryLock(0)) {
        error = QStringLiteral("フォルダ \"%1\" に書き込めません").arg(m_folder);
        m_lock.reset();
        return false;
    }
    return true;
}

// An editor that ended without closing and had written no copy leaves only its lock file behind.
void RecoveryStore::RemoveLocksOfEditorsGone() const
{
    const QDir folder(m_folder);
    for (const QString &name : folder.entryList({QStringLiteral("*") + LockSuffix}, QDir::Files)) {
        const QString base = name.left(name.size() - LockSuffix.size());
        if (folder.exists(base + CopySuffix()))
            continue;
        QLockFile lock(folder.filePath(name));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();
    }
}

QString RecoveryStore::OwnCopyPath() const
{
    return QDir(m_folder).filePath(m_id + CopySuffix());
}

std::vector<RecoveryStore::LeftCopy> RecoveryStore::TakeLeftCopies() const
{
    std::vector<LeftCopy> left;
    const QFileInfoList copies = QDir(m_folder).entryInfoList({QStringLiteral("*") + CopySuffix()},
                                                              QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &copy : copies) {
        const QString path = copy.absoluteFilePath();
        if (path == QFileInfo(OwnCopyPath()).absoluteFilePath())
            continue;
        // A lock held by a running editor cannot be taken; one whose editor is gone is stale and is.
        auto lock = std::make_shared<QLockFile>(LockPathOf(path));
        // Never stale by age: an editor left open for days still holds its copy.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            left.push_back({path, std::move(lock)});
    }
    return left;
}

void RecoveryStore::RemoveLeftCopy(LeftCopy &copy)
{
    QFile::remove(copy.path);
    if (copy.lock)
        copy.lock->unlock(); // removes the lock file
    copy.lock.reset();
}

void RecoveryStore::ReleaseLeftCopy(LeftCopy &copy)
{
    if (copy.lock)
        copy.lock->unlock();
    copy.lock.reset();
}

bool RecoveryStore::WriteOwnCopy(const QByteArray &bytes, QString &error) const
{
    QSaveFile file(OwnCopyPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void RecoveryStore::RemoveOwnCopy() const
{
    QFile::remove(OwnCopyPath());
}
