#pragma once

#include "search/SearchTarget.h"

class TextPane;

// The source pane as the search routines see it. The pane already counts a CR LF as two characters and
// keeps a selected hit highlighted while a dialog has the focus.
class TextPaneTarget : public SearchTarget
{
public:
    explicit TextPaneTarget(TextPane &pane) : m_pane(pane) {}

    QString Text() const override;
    void SetText(const QString &text) override;
    qsizetype SelStart() const override;
    void SetSelStart(qsizetype start) override;
    qsizetype SelLength() const override;
    void SetSelLength(qsizetype length) override;
    QString SelText() const override;
    void SetSelText(const QString &text) override;
    void ResetSelectionFormat() override;

private:
    TextPane &m_pane;
};
