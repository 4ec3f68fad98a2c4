#pragma once

#include "compare/LineDiff.h"
#include "compare/WordDiff.h"

#include <QObject>
#include <QString>
#include <memory>
#include <unordered_map>

class TextPane;

// The comparison of the source pane and a conversion's result in the result pane, while the result
// waits for OK or Cancel: marks in both panes, the two panes scrolled together line by line, and the
// steps from one change to the next.
class ResultCompare : public QObject
{
    Q_OBJECT

public:
    ResultCompare(TextPane &source, TextPane &result, QObject *parent = nullptr);
    ~ResultCompare() override;

    // Compares the panes' texts as they stand and marks them.
    void Show();
    // Takes the marks away; a later change of either text no longer concerns them.
    void Clear();
    bool Shown() const { return m_diff != nullptr; }
    const compare::LineDiff *Diff() const { return m_diff.get(); }

    // While on, scrolling either pane scrolls the other to the line paired with its top line.
    void SetScrollTogether(bool on);
    bool ScrollTogether() const { return m_together; }

    // Moves both carets to the next (previous) run of changed lines after (before) the caret of the
    // focused pane, and scrolls it into view.
    void NextChange();
    void PreviousChange();

    // "変更 1,234 行".
    static QString CountText(qsizetype lines);

signals:
    void ShownChanged(bool shown);

private:
    class Marks;
    friend class Marks;

    const compare::WordDiff &WordsOf(int sourceLine);
    bool StartsInComment(bool result, int line);
    void OnScrolled(bool fromResult);
    int PairedLine(bool fromResult, int line) const;
    int CaretLine(const TextPane &pane, const std::vector<compare::TextLine> &lines) const;
    void GoTo(const compare::Hunk &hunk);

    TextPane &m_source;
    TextPane &m_result;
    QString m_sourceText;
    QString m_resultText;
    std::unique_ptr<compare::LineDiff> m_diff;
    std::unique_ptr<compare::CommentStates> m_sourceComments;
    std::unique_ptr<compare::CommentStates> m_resultComments;
    std::unordered_map<int, compare::WordDiff> m_words;
    std::unique_ptr<Marks> m_sourceMarks;
    std::unique_ptr<Marks> m_resultMarks;
    bool m_together = true;
    bool m_scrolling = false;
};
