#include "app/window/Prompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {

QMessageBox::Icon BoxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString QtNameFilters(const QString &pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        // The dialog hides this last parenthesised list and shows the description before it.
        filters += parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

// Native dialogs (GTK portals) match filters case-sensitively; Qt's own dialog does not.
void ConfigureFileDialog(QFileDialog &dialog, const QString &filter)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filter);
}

namespace {

Prompter::FileChoice RunFileDialog(QFileDialog &dialog, const QString &filter)
{
    ConfigureFileDialog(dialog, filter);
    Prompter::FileChoice choice;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        choice.filePath = dialog.selectedFiles().constFirst();
    choice.folder = dialog.directory().absolutePath();
    return choice;
}

} // namespace

bool QtPrompter::AskYesNo(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompter::ShowMessage(QWidget *parent, const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

Prompter::RestoreAnswer QtPrompter::AskRestore(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *restore = box.addButton(QStringLiteral("復元"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore)
        return RestoreAnswer::Restore;
    return box.clickedButton() == discard ? RestoreAnswer::Discard : RestoreAnswer::Keep;
}

Prompter::FileChoice QtPrompter::ChooseFileToOpen(QWidget *parent, const QString &startFolder,
                                                  const QString &filter)
{
    QFileDialog dialog(parent, QStringLiteral("開く"), startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog, filter);
}

Prompter::FileChoice QtPrompter::ChooseFileToSave(QWidget *parent, const QString &startFolder,
                                                  const QString &filter)
{
    QFileDialog dialog(parent, QStringLiteral("名前を付けて保存"), startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return RunFileDialog(dialog, filter);
}
