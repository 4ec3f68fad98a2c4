#pragma once

#include "app/AppState.h"
#include "app/ConversionHost.h"

// Stands in for the main window: holds the source and result texts and counts the calls a dialog makes.
class FakeConversionHost : public ConversionHost
{
public:
    AppState &State() override { return state; }
    QString SourceText() const override { return source; }
    void SetResultText(const QString &text) override { result = text; }
    void ShowConversionResult() override { ++resultsShown; }
    void EnableUndo() override { ++undoEnabled; }

    AppState state;
    QString source;
    QString result;
    int resultsShown = 0;
    int undoEnabled = 0;
};
