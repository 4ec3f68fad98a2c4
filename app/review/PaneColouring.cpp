#include "app/review/PaneColouring.h"

#include "app/pane/TextPane.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace {

constexpr char16_t LineBreak = 0x2028; // the pane's CR LF inside a block

QTextCharFormat Foreground(const QColor &colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

} // namespace

PaneColouring::PaneColouring(TextPane &pane) : QObject(&pane), m_pane(pane)
{
    using highlight::SpanKind;
    // The colours of a programmer's editor, readable on the white pane; values (SpanKind::Number) keep
    // the pane's black.
    m_formats[size_t(SpanKind::Address)] = Foreground(QColor(0xa0, 0x10, 0x10));
    m_formats[size_t(SpanKind::Comment)] = Foreground(QColor(0x00, 0x80, 0x00));
    m_formats[size_t(SpanKind::Sequence)] = Foreground(QColor(0x80, 0x80, 0x80));
    m_formats[size_t(SpanKind::GCode)] = Foreground(QColor(0x00, 0x00, 0xd0));
    m_formats[size_t(SpanKind::MCode)] = Foreground(QColor(0x90, 0x00, 0x90));
    m_blockCount = pane.document()->blockCount();
    connect(pane.document(), &QTextDocument::contentsChange, this, &PaneColouring::OnContentsChange);
    // Watching the viewport's paint events colours the blocks before the pane draws them.
    m_viewport = pane.viewport();
    m_viewport->installEventFilter(this);
}

void PaneColouring::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    ForgetFrom(0);
    m_pane.viewport()->update();
}

bool PaneColouring::eventFilter(QObject *watched, QEvent *event)
{
    // Asks nothing of the pane: the viewport still sends events while the pane is being destroyed.
    if (event->type() == QEvent::Paint && watched == m_viewport)
        ColourVisibleBlocks();
    return QObject::eventFilter(watched, event);
}

void PaneColouring::ColourVisibleBlocks()
{
    const QAbstractTextDocumentLayout *layout = m_pane.document()->documentLayout();
    QTextBlock block = m_pane.FirstVisibleBlock();
    // The first block may be partly scrolled out of view: one block's height more covers the bottom.
    qreal room = m_pane.viewport()->height();
    bool first = true;
    for (; block.isValid() && room > 0; block = block.next()) {
        if (m_enabled)
            Colour(block);
        else
            Uncolour(block);
        const qreal height = layout->blockBoundingRect(block).height();
        if (!first)
            room -= height;
        first = false;
    }
    // Knowing where the block after the last one in view starts lets an edit of that one tell whether
    // it changed the comment state of what follows.
    if (m_enabled && block.isValid())
        (void)StartsInComment(block);
}

// An edit inside one block that leaves the comment state at its end as it was changes the colours of
// that block only; any other change those of every block from the first one changed on.
void PaneColouring::OnContentsChange(int from, int removed, int added)
{
    Q_UNUSED(removed);
    const QTextDocument *doc = m_pane.document();
    const int blockCount = doc->blockCount();
    const int end = std::max(0, doc->characterCount() - 1);
    const QTextBlock block = doc->findBlock(std::clamp(from, 0, end));
    const int number = block.blockNumber();
    const bool oneBlock = blockCount == m_blockCount &&
                          doc->findBlock(std::clamp(from + added, 0, end)).blockNumber() == number;
    m_blockCount = blockCount;
    if (number < 0) {
        ForgetFrom(0);
        return;
    }
    const size_t next = size_t(number) + 1;
    if (m_enabled && oneBlock && next < m_startsInComment.size() &&
        InCommentAfter(block, m_startsInComment[size_t(number)]) == m_startsInComment[next]) {
        m_coloured[size_t(number)] = false;
        return;
    }
    ForgetFrom(number);
    // The blocks after it that are in view may change colour too; the pane redraws only the changed one.
    if (m_enabled)
        m_pane.viewport()->update();
}

// The start of block `blockNumber` depends only on the blocks before it, so it is still known.
void PaneColouring::ForgetFrom(int blockNumber)
{
    const size_t keep = std::min(m_startsInComment.size(), size_t(blockNumber) + 1);
    m_startsInComment.resize(keep);
    m_coloured.resize(keep);
    if (size_t(blockNumber) < keep)
        m_coloured[size_t(blockNumber)] = false;
}

bool PaneColouring::InCommentAfter(const QTextBlock &block, bool inComment) const
{
    const QString text = block.text();
    // Most blocks hold no bracket that could change the state: none of either kind, or comment text
    // without a ")".
    if (!text.contains(inComment ? u')' : u'('))
        return inComment;
    for (const QStringView line : QStringView(text).tokenize(QChar(LineBreak)))
        inComment = highlight::InCommentAfter(line, inComment);
    return inComment;
}

// Scans the blocks from the last known one on: only for the comment brackets, never colouring them.
bool PaneColouring::StartsInComment(const QTextBlock &block)
{
    const size_t number = size_t(block.blockNumber());
    if (m_startsInComment.empty()) {
        m_startsInComment.push_back(false);
        m_coloured.push_back(false);
    }
    if (number < m_startsInComment.size())
        return m_startsInComment[number];
    QTextBlock known = m_pane.document()->findBlockByNumber(int(m_startsInComment.size()) - 1);
    for (; m_startsInComment.size() <= number; known = known.next()) {
        m_startsInComment.push_back(InCommentAfter(known, m_startsInComment.back()));
        m_coloured.push_back(false);
    }
    return m_startsInComment[number];
}

void PaneColouring::Colour(const QTextBlock &block)
{
    bool inComment = StartsInComment(block);
    const size_t number = size_t(block.blockNumber());
    if (m_coloured[number])
        return;
    FindSearchColours(block);
    const QString text = block.text();
    QList<QTextLayout::FormatRange> formats;
    qsizetype lineStart = 0;
    for (const QStringView line : QStringView(text).tokenize(QChar(LineBreak))) {
        AddFormats(formats, lineStart, line, inComment);
        lineStart += line.size() + 1;
    }
    SetFormats(block, formats);
    m_coloured[number] = true;
}

void PaneColouring::Uncolour(const QTextBlock &block)
{
    if (!block.layout()->formats().isEmpty())
        SetFormats(block, {});
}

void PaneColouring::AddFormats(QList<QTextLayout::FormatRange> &formats, qsizetype lineStart,
                               QStringView line, bool &inComment)
{
    // Every change of format is one more piece for the widget to lay out and draw, so the runs are few:
    // values keep the pane's own black, and a run takes in the blanks after it (they show no colour),
    // which joins it to the next run of its colour ("G00 G40 G97" is one).
    const std::vector<highlight::Span> &spans = m_lines.Colour(line, inComment);
    for (size_t i = 0; i < spans.size(); ++i) {
        const highlight::Span &span = spans[i];
        if (span.kind == highlight::SpanKind::Number)
            continue;
        const qsizetype limit = i + 1 < spans.size() ? spans[i + 1].start : line.size();
        qsizetype end = span.start + span.length;
        while (end < limit && nc::IsBlank(line[end]))
            ++end;
        AddRun(formats, lineStart + span.start, lineStart + end, span.kind);
    }
}

// The parts of the run outside the search's colours.
void PaneColouring::AddRun(QList<QTextLayout::FormatRange> &formats, qsizetype start, qsizetype end,
                           highlight::SpanKind kind)
{
    for (const auto &[keepFrom, keepTo] : m_searchColours) {
        if (keepTo <= start || keepFrom >= end)
            continue;
        if (keepFrom > start)
            AppendRun(formats, start, keepFrom, kind);
        start = std::max(start, keepTo);
    }
    if (start < end)
        AppendRun(formats, start, end, kind);
}

void PaneColouring::AppendRun(QList<QTextLayout::FormatRange> &formats, qsizetype start, qsizetype end,
                              highlight::SpanKind kind)
{
    if (!formats.isEmpty() && m_lastKind == kind && formats.back().start + formats.back().length == start) {
        formats.back().length += int(end - start);
        return;
    }
    formats.append({int(start), int(end - start), m_formats[size_t(kind)]});
    m_lastKind = kind;
}

// A text colour the document itself holds, other than the plain one the search resets to, is the
// search's: the layout's formats would paint over it.
void PaneColouring::FindSearchColours(const QTextBlock &block)
{
    m_searchColours.clear();
    const QColor plain = m_pane.palette().color(QPalette::Text);
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (!format.hasProperty(QTextFormat::ForegroundBrush) || format.foreground().color() == plain)
            continue;
        const qsizetype from = fragment.position() - block.position();
        m_searchColours.emplace_back(from, from + fragment.length());
    }
}

// Setting a layout's formats marks its block changed in the document, to be told with the next edit;
// telling the layout now keeps that edit's notice to what it changed. The layout's own update notice is
// held back: the block is about to be drawn, or is drawn by the update that turned colours off.
void PaneColouring::SetFormats(const QTextBlock &block, const QList<QTextLayout::FormatRange> &formats)
{
    QTextDocument *doc = m_pane.document();
    block.layout()->setFormats(formats);
    {
        const QSignalBlocker quiet(doc->documentLayout());
        doc->markContentsDirty(block.position(), block.length());
    }
    // Laid out again at once, so that no block in view is left without lines.
    (void)doc->documentLayout()->blockBoundingRect(block);
}
