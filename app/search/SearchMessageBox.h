#pragma once

#include "search/SearchMessage.h"

#include <functional>

class QWidget;

// Shows a search or replace message; the dialogs take one so that tests can read the messages instead.
using ShowMessageFunction = std::function<void(const SearchMessage &)>;

// A message box with the message's title, an OK button only and no icon.
void ShowSearchMessageBox(QWidget *parent, const SearchMessage &message);

// The function a dialog uses when it was given none: a message box over `parent`.
ShowMessageFunction MessageBoxShower(QWidget *parent);
