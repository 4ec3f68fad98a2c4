#pragma once

#include "highlight/LineColours.h"

#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>
#include <array>
#include <vector>

class QTextBlock;
class TextPane;

// Colours the NC words of a text pane: G and M codes, sequence numbers, other address letters (their
// values stay black) and comments, as the conversions read them. Only the blocks being drawn are coloured,
// just before they are drawn, so that a program of a million lines opens as fast as without colours. The
// colours are the block layouts' own formats: the text, its change notifications, the undo stack and the
// modified flag never see them, and a colour the search put on the text stays on top.
class PaneColouring : public QObject
{
    Q_OBJECT

public:
    explicit PaneColouring(TextPane &pane);

    bool Enabled() const { return m_enabled; }
    // Off takes every colour away again (as the blocks are next drawn).
    void SetEnabled(bool enabled);

    // Colours (or, when off, uncolours) every block that would be drawn now. The pane's drawing does it
    // by itself; the tests call it to look at the colours without drawing.
    void ColourVisibleBlocks();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnContentsChange(int from, int removed, int added);
    void ForgetFrom(int blockNumber);
    bool StartsInComment(const QTextBlock &block);
    bool InCommentAfter(const QTextBlock &block, bool inComment) const;
    void Colour(const QTextBlock &block);
    void Uncolour(const QTextBlock &block);
    void SetFormats(const QTextBlock &block, const QList<QTextLayout::FormatRange> &formats);
    void AddFormats(QList<QTextLayout::FormatRange> &formats, qsizetype lineStart, QStringView line,
                    bool &inComment);
    void AddRun(QList<QTextLayout::FormatRange> &formats, qsizetype start, qsizetype end,
                highlight::SpanKind kind);
    void AppendRun(QList<QTextLayout::FormatRange> &formats, qsizetype start, qsizetype end,
                   highlight::SpanKind kind);
    void FindSearchColours(const QTextBlock &block);

    TextPane &m_pane;
    QWidget *m_viewport = nullptr; // the pane's, watched for its paint events
    bool m_enabled = true;
    // Whether each block starts inside a comment, known for the blocks from the first on; and whether a
    // block's layout holds the colours of its present text (only for blocks whose start is known).
    std::vector<bool> m_startsInComment;
    std::vector<bool> m_coloured;
    int m_blockCount = 0;

    highlight::LineColours m_lines;
    std::array<QTextCharFormat, 6> m_formats;
    highlight::SpanKind m_lastKind = highlight::SpanKind::Comment; // of the last run added
    // Ranges of the block being coloured that carry a colour of the document's own (a found text): they
    // keep it.
    std::vector<std::pair<qsizetype, qsizetype>> m_searchColours;
};
