#include "app/window/frmMain.h"

#include "app/convert/WaitCursor.h"
#include "app/review/ResultCompare.h"
#include "app/pane/TextPane.h"
#include "app/window/MainWindowTexts.h"
#include "app/window/Prompter.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>

// The document: new, open, save, the changes made to it.

namespace {

const QString OpenFilter =
    QStringLiteral("NC File (*.MIN;*.SSB;*.NC;*.NCD;*.NCA)|*.MIN;*.SSB;*.NC;*.NCD;*.NCA|All Files (*.*)|*.*");
const QString SaveAsFilter =
    QStringLiteral("OSP File (*.MIN)|*.MIN|FANUC File (*.NC)|*.NC|CAD File (*.NCA)|*.NCA|"
                   "System Sub (*.ssb)|*.SSB|All Files (*.*)|*.*");

// What the user should know about a file that opened: what is shown differs from its bytes, or saving
// would change them.
QString ReadWarnings(const DocumentFile::ReadResult &read)
{
    QStringList warnings;
    if (read.hadInvalidBytes) {
        warnings += QStringLiteral(
            "Shift-JIS (コード ページ 932) の文字でないバイトがあります。それらは別の文字 (U+001A か U+FFFD) "
            "に置き換えて表示しています。変更せずに保存すれば元のバイトのまま書き込みますが、変更して保存する"
            "と"
            "元のバイトは失われます (U+FFFD が残っていると保存できません)。");
    }
    if (read.hadNulBytes) {
        warnings += QStringLiteral(
            "NUL バイト (0x00) があります。NC プログラムではなくバイナリ ファイルかもしれません。"
            "NUL は \u2400 と表示しています。");
    }
    if (read.damagedRichText) {
        warnings += QStringLiteral(
            "リッチ テキストが壊れています ({ と } の対応が取れていないか、入れ子が深すぎます)。"
            "読み取れたテキストだけを表示しています。保存するとこのテキストだけになります。");
    }
    return warnings.join(QStringLiteral("\n"));
}

} // namespace

bool frmMain::AskToDiscardChanges(const QString &question)
{
    return !m_documentModified || m_prompter.AskYesNo(this, app::AppTitle, question);
}

bool frmMain::LoadIntoSourcePane(const QString &path)
{
    DocumentFile::ReadResult read;
    {
        // A large program takes seconds to read and lay out.
        const WaitCursor busy;
        read = m_file.Read(path);
        if (read.ok)
            RichTextBox1->SetText(read.text);
    }
    if (!read.ok) {
        m_prompter.ShowMessage(
            this, app::AppTitle,
            QStringLiteral("ファイル \"%1\" を開けませんでした。\n%2").arg(path, read.failure),
            Prompter::Icon::Critical);
        return false;
    }
    const QString warnings = ReadWarnings(read);
    if (!warnings.isEmpty()) {
        m_prompter.ShowMessage(this, app::AppTitle,
                               QStringLiteral("ファイル \"%1\" について:\n").arg(path) + warnings,
                               Prompter::Icon::Warning);
    }
    return true;
}

bool frmMain::SaveDocument(const QString &path)
{
    const DocumentFile::WriteResult written = m_file.Write(path, RichTextBox1->Text());
    if (!written.ok) {
        m_prompter.ShowMessage(
            this, app::AppTitle,
            QStringLiteral("ファイル \"%1\" に保存できませんでした。\n%2").arg(path, written.failure),
            Prompter::Icon::Critical);
    }
    return written.ok;
}

void frmMain::mnuFileNew_Click()
{
    if (!AskToDiscardChanges(QStringLiteral("データが変更されていますが新規にしますか ?")))
        return;
    Label1->clear();
    m_documentPath.clear();
    RichTextBox1->SetText(QString());
    m_file.Forget();
    m_documentModified = false;
    DiscardRecoveryCopy();
    WatchDocument();
}

void frmMain::mnuFileOpen_Click()
{
    if (!AskToDiscardChanges(QStringLiteral("データが変更されていますが開きますか ?")))
        return;
    Command2_Click();
    const Prompter::FileChoice choice =
        m_prompter.ChooseFileToOpen(this, m_openPath, QtNameFilters(OpenFilter));
    if (!choice.folder.isEmpty())
        m_openPath = choice.folder;
    if (choice.filePath.isEmpty())
        return;
    if (!LoadIntoSourcePane(choice.filePath))
        return;
    const QFileInfo chosen(choice.filePath);
    m_documentPath = chosen.absoluteFilePath();
    Label1->setText(chosen.fileName());
    SetUndoEnabled(false);
    m_documentModified = false;
    DiscardRecoveryCopy();
    WatchDocument();
}

void frmMain::mnuFileSave_Click()
{
    if (m_documentPath.isEmpty()) {
        mnuFileSaveAs_Click();
        return;
    }
    if (!AskToOverwriteChangedFile())
        return;
    if (!SaveDocument(m_documentPath))
        return;
    m_documentModified = false;
    DiscardRecoveryCopy();
    WatchDocument();
}

void frmMain::mnuFileSaveAs_Click()
{
    const Prompter::FileChoice choice =
        m_prompter.ChooseFileToSave(this, m_openPath, QtNameFilters(SaveAsFilter));
    if (!choice.folder.isEmpty())
        m_openPath = choice.folder;
    if (choice.filePath.isEmpty()) {
        // A cancelled Save As leaves the document unnamed, so the next Save asks for a name again.
        m_documentPath.clear();
        return;
    }
    if (!SaveDocument(choice.filePath))
        return;
    const QFileInfo chosen(choice.filePath);
    m_documentPath = chosen.absoluteFilePath();
    Label1->setText(chosen.fileName().toUpper());
    DiscardRecoveryCopy();
    WatchDocument();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::RichTextBox1_Change()
{
    m_compare->Clear();
    SetUndoEnabled(true);
    m_documentModified = true;
    ScheduleRecoveryCopy();
}

void frmMain::SetUndoEnabled(bool enabled)
{
    mnuEditUndo->setEnabled(enabled);
}
