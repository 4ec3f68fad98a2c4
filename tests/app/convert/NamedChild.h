#pragma once

#include <QDialog>
#include <QString>
#include <gtest/gtest.h>

// The control of a dialog with the given object name; fails the test when there is none.
template <typename Widget> Widget *Child(QDialog &dialog, const char *name)
{
    Widget *widget = dialog.findChild<Widget *>(QString::fromLatin1(name));
    if (!widget)
        ADD_FAILURE() << "no control " << name;
    return widget;
}
