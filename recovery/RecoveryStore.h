#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QLockFile;

// The folder of recovery copies. Each running editor holds a lock file of its own beside its copy, so a
// copy whose lock nobody holds was left by an editor that ended without closing (a crash, a power cut, a
// killed session); the lock of such a copy is taken before it is offered, so two editors never take the
// same copy.
class RecoveryStore
{
public:
    // A copy left by an editor no longer running, locked by this store while it is held.
    struct LeftCopy
    {
        QString path;
        std::shared_ptr<QLockFile> lock;
    };

    explicit RecoveryStore(QString folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Makes the folder and takes this editor's lock; false with the reason when either cannot be done.
    bool Open(QString &error);
    const QString &Folder() const { return m_folder; }
    QString OwnCopyPath() const;

    // The copies whose editor is gone, oldest first, each locked; a copy of a live editor is never listed.
    std::vector<LeftCopy> TakeLeftCopies() const;
    // Removes a left copy and its lock file.
    static void RemoveLeftCopy(LeftCopy &copy);
    // Gives a left copy up for another editor to find (it stays on disk).
    static void ReleaseLeftCopy(LeftCopy &copy);

    // Replaces this editor's copy whole (a temporary file renamed over it); false with the reason.
    bool WriteOwnCopy(const QByteArray &bytes, QString &error) const;
    void RemoveOwnCopy() const;

    static QString CopySuffix() { return QStringLiteral(".recovery"); }

private:
    void RemoveLocksOfEditorsGone() const;

    QString m_folder;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
};
