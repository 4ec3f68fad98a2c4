#pragma once

#include <QString>

struct AppState;

// The narrow face the main window shows a conversion dialog: read the program, put the result, arm the
// result pane. A dialog never reaches into the main window's widgets.
class ConversionHost
{
public:
    virtual ~ConversionHost() = default;

    virtual AppState &State() = 0;
    // The whole text of the source pane (CR LF line ends).
    virtual QString SourceText() const = 0;
    // Replaces the whole text of the result pane.
    virtual void SetResultText(const QString &text) = 0;
    // Turns the result heading into the red notice and enables OK and Cancel.
    virtual void ShowConversionResult() = 0;
    // Enables the Undo menu entry and toolbar button.
    virtual void EnableUndo() = 0;
    // Puts the result pane's caret at `position` (0 is before the first character; a CR LF counts two).
    // Only the machine conversion moves it, so a stand-in that ignores it is enough for the others.
    virtual void SetResultCaret(qsizetype position) { Q_UNUSED(position); }
    // The number of lines the result holds for the user to check ("(要確認 …)" lines of the
    // translation), after SetResultText; shown with the result. Only the machine conversion has them.
    virtual void SetLinesToCheck(qsizetype lines) { Q_UNUSED(lines); }
};
