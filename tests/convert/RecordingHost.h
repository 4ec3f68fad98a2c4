#pragma once

#include "app/AppState.h"
#include "app/ConversionHost.h"
#include "tests/convert/QStringPrint.h"

#include <QDialog>
#include <QString>
#include <gtest/gtest.h>

// A main window stand-in for the dialog tests: hands out a program and records what the dialog does.
class RecordingHost : public ConversionHost
{
public:
    AppState state;
    QString source;
    QString result = QStringLiteral("(untouched)");
    int resultsSet = 0;
    int resultsShown = 0;
    int undoEnabled = 0;

    AppState &State() override { return state; }
    QString SourceText() const override { return source; }
    void SetResultText(const QString &text) override
    {
        result = text;
        ++resultsSet;
    }
    void ShowConversionResult() override { ++resultsShown; }
    void EnableUndo() override { ++undoEnabled; }
};

// The named child of a dialog; fails the test when there is none.
template <typename Widget> Widget *Child(QDialog &dialog, const char *name)
{
    Widget *widget = dialog.findChild<Widget *>(QString::fromLatin1(name));
    if (!widget)
        ADD_FAILURE() << "no control " << name;
    return widget;
}
