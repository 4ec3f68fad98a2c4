#include "app/window/frmMain.h"

#include "app/review/ResultCompare.h"
#include "app/pane/TextPane.h"
#include "app/window/MainStatusBar.h"
#include "app/window/MainWindowTexts.h"
#include "app/window/Prompter.h"
#include "app/window/StatusPanel.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryStore.h"
#include "recovery/RecoveryWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QTimer>

// Nothing typed is lost: the recovery copy of unsaved changes, the copies of editors that ended without
// closing, and the open file watched for changes made by other programs.

namespace {

constexpr int QuietMilliseconds = 2000;    // a copy this long after typing stops
constexpr int LongestMilliseconds = 30000; // and at least this often while typing goes on

QString DocumentName(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("(名前なし)") : path;
}

QString RestoreQuestion(const recovery::CopyContents &copy)
{
    return QStringLiteral("前回、保存せずに終わった編集の回復ファイルがあります。\n"
                          "ファイル: %1\n回復ファイルの日時: %2\n\n"
                          "[復元] で編集を続けます。[破棄] で回復ファイルを削除します。")
        .arg(DocumentName(copy.documentPath),
             copy.written.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
}

} // namespace

QString frmMain::RecoveryCopyPath() const
{
    return m_recoveryStore ? m_recoveryStore->OwnCopyPath() : QString();
}

void frmMain::ShowRecoveryNotice(const QString &text)
{
    sbStatusBar->Panel(1)->setText(text);
    sbStatusBar->Panel(1)->setToolTip(text);
}

void frmMain::StartRecovery(const QString &folder)
{
    if (folder.isEmpty() || m_recoveryStore)
        return;
    auto store = std::make_unique<RecoveryStore>(folder);
    QString error;
    if (!store->Open(error)) {
        ShowRecoveryNotice(QStringLiteral("回復ファイルを使えません: %1").arg(error));
        return;
    }
    m_recoveryStore = std::move(store);
    // The writer's thread reports through the window's event loop.
    m_recoveryWriter = std::make_unique<RecoveryWriter>(*m_recoveryStore, [this](const QString &failure) {
        if (failure.isEmpty())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, failure] {
                ShowRecoveryNotice(QStringLiteral("回復ファイルを書き込めません: %1").arg(failure));
            },
            Qt::QueuedConnection);
    });
    m_recoveryIdle = new QTimer(this);
    m_recoveryIdle->setSingleShot(true);
    m_recoveryIdle->setInterval(QuietMilliseconds);
    connect(m_recoveryIdle, &QTimer::timeout, this, &frmMain::WriteRecoveryCopy);
    m_recoveryLongest = new QTimer(this);
    m_recoveryLongest->setSingleShot(true);
    m_recoveryLongest->setInterval(LongestMilliseconds);
    connect(m_recoveryLongest, &QTimer::timeout, this, &frmMain::WriteRecoveryCopy);
    OfferLeftCopies();
}

// Each copy whose editor is gone is offered in turn until one is restored; one that cannot be read is kept
// and named, never deleted.
void frmMain::OfferLeftCopies()
{
    std::vector<RecoveryStore::LeftCopy> left = m_recoveryStore->TakeLeftCopies();
    bool restored = false;
    for (RecoveryStore::LeftCopy &copy : left) {
        if (restored) {
            RecoveryStore::ReleaseLeftCopy(copy);
            continue;
        }
        QFile file(copy.path);
        const recovery::ReadCopy read =
            file.open(QIODevice::ReadOnly)
                ? recovery::DecodeCopy(file.readAll())
                : recovery::ReadCopy{recovery::ReadStatus::Broken, {}, file.errorString()};
        if (read.status != recovery::ReadStatus::Read) {
            ShowRecoveryNotice(
                QStringLiteral("回復ファイル \"%1\" を読めません (%2)。削除せずに残しています。")
                    .arg(copy.path, read.reason));
            RecoveryStore::ReleaseLeftCopy(copy);
            continue;
        }
        switch (m_prompter.AskRestore(this, app::AppTitle, RestoreQuestion(read.contents))) {
        case Prompter::RestoreAnswer::Restore:
            RichTextBox1->SetText(read.contents.text);
            m_documentPath = read.contents.documentPath;
            Label1->setText(m_documentPath.isEmpty() ? QString() : QFileInfo(m_documentPath).fileName());
            m_file.Forget();
            m_documentModified = true;
            SetUndoEnabled(false);
            WatchDocument();
            // The restored text is safe in this editor's own copy before the old one goes.
            WriteRecoveryCopy();
            m_recoveryWriter->Flush();
            RecoveryStore::RemoveLeftCopy(copy);
            restored = true;
            break;
        case Prompter::RestoreAnswer::Discard:
            RecoveryStore::RemoveLeftCopy(copy);
            break;
        case Prompter::RestoreAnswer::Keep:
            RecoveryStore::ReleaseLeftCopy(copy);
            break;
        }
    }
}

void frmMain::ScheduleRecoveryCopy()
{
    if (!m_recoveryWriter)
        return;
    m_recoveryIdle->start();
    if (!m_recoveryLongest->isActive())
        m_recoveryLongest->start();
}

// The widget's text is copied on this thread; turned into program text, encoded and written on the
// writer's.
void frmMain::WriteRecoveryCopy()
{
    if (!m_recoveryWriter)
        return;
    m_recoveryIdle->stop();
    m_recoveryLongest->stop();
    if (!m_documentModified)
        return;
    const TextPane::Snapshot snapshot = RichTextBox1->TakeSnapshot();
    m_recoveryWriter->Write({m_documentPath, QDateTime::currentDateTimeUtc(), snapshot.text},
                            [program = snapshot.isProgramText](const QString &text) {
                                return TextPane::ProgramText({text, program});
                            });
}

void frmMain::DiscardRecoveryCopy()
{
    if (!m_recoveryWriter)
        return;
    m_recoveryIdle->stop();
    m_recoveryLongest->stop();
    m_recoveryWriter->Discard();
}

// ---- the open file, changed by another program ----

void frmMain::WatchDocument()
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &frmMain::DocumentFile_Changed);
    }
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    m_documentStamp = m_documentPath.isEmpty() ? FileStamp{} : StampOfFile(m_documentPath);
    m_reportedStamp = m_documentStamp;
    if (m_documentStamp.exists)
        m_watcher->addPath(m_documentPath);
}

void frmMain::DocumentFile_Changed(const QString &path)
{
    if (path != m_documentPath)
        return;
    const FileStamp now = StampOfFile(path);
    // A file replaced through a rename is no longer watched under its name.
    if (now.exists && !m_watcher->files().contains(path))
        m_watcher->addPath(path);
    if (now.SameContents(m_documentStamp) || now.SameContents(m_reportedStamp))
        return;
    m_reportedStamp = now;
    if (!now.exists) {
        m_prompter.ShowMessage(this, app::AppTitle,
                               QStringLiteral("ファイル \"%1\" が削除されたか、名前が変わりました。\n"
                                              "保存すると新しく書き込みます。")
                                   .arg(path),
                               Prompter::Icon::Information);
        return;
    }
    if (m_documentModified) {
        m_prompter.ShowMessage(this, app::AppTitle,
                               QStringLiteral("ファイル \"%1\" がほかのプログラムで変更されました。\n"
                                              "編集中のデータはそのまま残します。")
                                   .arg(path),
                               Prompter::Icon::Warning);
        return;
    }
    if (!m_prompter.AskYesNo(
            this, app::AppTitle,
            QStringLiteral("ファイル \"%1\" がほかのプログラムで変更されました。読み込み直しますか ?")
                .arg(path)))
        return;
    if (!LoadIntoSourcePane(path))
        return;
    SetUndoEnabled(false);
    m_documentModified = false;
    DiscardRecoveryCopy();
    WatchDocument();
}

// Save over a file another program changed (or wrote anew) since it was read or saved asks first.
bool frmMain::AskToOverwriteChangedFile()
{
    const FileStamp now = StampOfFile(m_documentPath);
    if (!now.exists || now.SameContents(m_documentStamp))
        return true;
    return m_prompter.AskYesNo(
        this, app::AppTitle,
        QStringLiteral("ファイル \"%1\" は読み込んだ後にほかのプログラムで変更されています。上書きしますか ?")
            .arg(m_documentPath));
}
