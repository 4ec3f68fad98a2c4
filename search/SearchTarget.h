#pragma once

#include <QString>

// The text and selection the search routines work on: the source pane, or a plain text for the
// command-line tool and the tests. Offsets count every character, the two of a CR LF included.
class SearchTarget
{
public:
    virtual ~SearchTarget() = default;

    virtual QString Text() const = 0;
    // Replaces the whole text; where the caret goes is the target's own affair.
    virtual void SetText(const QString &text) = 0;
    virtual qsizetype SelStart() const = 0;
    virtual void SetSelStart(qsizetype start) = 0;
    virtual qsizetype SelLength() const = 0;
    virtual void SetSelLength(qsizetype length) = 0;
    virtual QString SelText() const = 0;
    // Replaces the selection and leaves the caret just after the new text.
    virtual void SetSelText(const QString &text) = 0;
    // Gives the selected characters the window-text colour again; the programs are plain text, so this
    // must not change anything visible.
    virtual void ResetSelectionFormat() = 0;
    // A found hit must stay highlighted while a dialog has the focus.
    virtual void KeepSelectionVisible() {}
};
