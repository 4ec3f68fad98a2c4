#include "app/search/SearchMessageBox.h"

#include <QMessageBox>
#include <QPointer>

void ShowSearchMessageBox(QWidget *parent, const SearchMessage &message)
{
    QMessageBox box(QMessageBox::NoIcon, message.title, message.text, QMessageBox::Ok, parent);
    box.exec();
}

ShowMessageFunction MessageBoxShower(QWidget *parent)
{
    QPointer<QWidget> guarded(parent);
    return [guarded](const SearchMessage &message) { ShowSearchMessageBox(guarded.data(), message); };
}
