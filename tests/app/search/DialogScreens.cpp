#include "search/StringTarget.h"
#include "app/search/frmFind.h"
#include "app/search/frmReplace.h"
#include "app/search/frmSizeShift.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

// Writes a picture of each search dialog into the folder given, for looking at them (run under xvfb-run).
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    SearchState state;
    StringTarget target(QStringLiteral("G00 X10. Z5.\r\n"));
    const ShowMessageFunction quiet = [](const SearchMessage &) {};

    frmFind find(state, target, quiet);
    find.SetFindText(QStringLiteral("G01"));
    frmReplace replace(state, target, quiet);
    replace.SetFindText(QStringLiteral("G01"));
    frmSizeShift sizeShift(state, target, quiet);
    sizeShift.SetFindText(QStringLiteral("Z"));
    const std::pair<QDialog *, const char *> dialogs[] = {
        {&find, "frmFind.png"}, {&replace, "frmReplace.png"}, {&sizeShift, "frmSizeShift.png"}};
    for (const auto &[dialog, file] : dialogs) {
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->show();
        QApplication::processEvents();
        if (!dialog->grab().save(QDir(folder).filePath(QString::fromLatin1(file))))
            return 1;
    }
    return 0;
}
