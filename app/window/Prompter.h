#pragma once

#include <QString>

class QWidget;

// A file-dialog filter written as "description|patterns|description|patterns"
// ("NC File (*.MIN;*.NC)|*.MIN;*.NC|All Files (*.*)|*.*") in Qt's form: each description is shown as it
// stands, its patterns are split at ";", and "*.*" is every file (with or without a dot).
QString QtNameFilters(const QString &pairs);

class QFileDialog;

// Prepares one of Qt's own file dialogs with a filter from QtNameFilters: patterns that ignore case,
// descriptions shown as they stand.
void ConfigureFileDialog(QFileDialog &dialog, const QString &filter);

// Message boxes and file dialogs of the editor, behind one face so that tests can answer them.
class Prompter
{
public:
    enum class Icon
    {
        None,
        Information,
        Warning,
        Critical
    };

    // What a file dialog gave: the chosen file (empty when cancelled) and the folder it ended in.
    struct FileChoice
    {
        QString filePath;
        QString folder;
    };

    virtual ~Prompter() = default;

    // A question with a warning icon and the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget *parent, const QString &title, const QString &text) = 0;
    // A message with only an OK button.
    virtual void ShowMessage(QWidget *parent, const QString &title, const QString &text, Icon icon) = 0;
    // What to do with a recovery copy: the buttons 復元 and 破棄; a box closed otherwise keeps the copy for
    // later. Answered like a yes-or-no question where no box of its own is shown.
    enum class RestoreAnswer
    {
        Restore,
        Discard,
        Keep
    };
    virtual RestoreAnswer AskRestore(QWidget *parent, const QString &title, const QString &text)
    {
        return AskYesNo(parent, title, text) ? RestoreAnswer::Restore : RestoreAnswer::Discard;
    }
    // `filter` is a Qt name-filter list ("NC File (*.MIN *.NC);;All Files (*)").
    virtual FileChoice ChooseFileToOpen(QWidget *parent, const QString &startFolder,
                                        const QString &filter) = 0;
    // Asks before overwriting an existing file; the folder must exist.
    virtual FileChoice ChooseFileToSave(QWidget *parent, const QString &startFolder,
                                        const QString &filter) = 0;
};

// The real boxes and dialogs. File dialogs are Qt's own, whose filters ignore case ("*.MIN" lists
// prog.min) on every platform.
class QtPrompter final : public Prompter
{
public:
    bool AskYesNo(QWidget *parent, const QString &title, const QString &text) override;
    void ShowMessage(QWidget *parent, const QString &title, const QString &text, Icon icon) override;
    RestoreAnswer AskRestore(QWidget *parent, const QString &title, const QString &text) override;
    FileChoice ChooseFileToOpen(QWidget *parent, const QString &startFolder, const QString &filter) override;
    FileChoice ChooseFileToSave(QWidget *parent, const QString &startFolder, const QString &filter) override;
};
