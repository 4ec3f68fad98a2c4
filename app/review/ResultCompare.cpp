#include "app/review/ResultCompare.h"

#include "app/pane/TextPane.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

using compare::LineState;
using compare::NoLine;

namespace {

const QColor ChangedTint(255, 236, 160);  // a line that differs from the one beside it
const QColor InsertedTint(200, 238, 200); // a result line with no source line
const QColor CheckTint(255, 190, 190);    // a result line the user must check: "(要確認 …)"
const QColor DeletedMark(220, 40, 40);    // a source line with no result line: a bar at the left edge
const QColor WordBox(200, 90, 0);         // the words that differ inside a changed line
constexpr int DeletedMarkWidth = 4;
// Word marks cost a comparison each; beyond this many remembered lines they are worked out again.
constexpr size_t MostRememberedLines = 4096;
// Lines kept above a change brought into view, so that it is seen with what precedes it.
constexpr int LinesAboveChange = 3;

// Thousands grouped with commas, whatever the locale: the count is the editor's own text.
QString Grouped(qsizetype number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return digits;
}

} // namespace

// The marks of one pane: tints under the changed and inserted lines, a bar at the left edge of deleted
// lines, boxes around the words that differ.
class ResultCompare::Marks : public PaneDecoration
{
public:
    Marks(ResultCompare &owner, bool result) : m_owner(owner), m_result(result) {}

    void PaintUnder(QPainter &painter, const std::vector<PaneLine> &lines) override
    {
        for (const PaneLine &line : lines) {
            if (m_result && IsLineToCheck(line.line)) {
                painter.fillRect(line.row, CheckTint);
                continue;
            }
            switch (State(line.line)) {
            case LineState::Changed:
                painter.fillRect(line.row, ChangedTint);
                break;
            case LineState::Inserted:
                painter.fillRect(line.row, InsertedTint);
                break;
            default:
                break;
            }
        }
    }

    void PaintOver(QPainter &painter, const std::vector<PaneLine> &lines) override
    {
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const PaneLine &line : lines) {
            const LineState state = State(line.line);
            if (state == LineState::Deleted) {
                painter.fillRect(QRectF(0, line.row.top(), DeletedMarkWidth, line.row.height()), DeletedMark);
            } else if (state == LineState::Changed) {
                const compare::LineDiff &diff = *m_owner.m_diff;
                const int sourceLine = m_result ? diff.sourceOfResult[size_t(line.line)] : line.line;
                const compare::WordDiff &words = m_owner.WordsOf(sourceLine);
                painter.setPen(QPen(WordBox, 1));
                painter.setBrush(Qt::NoBrush);
                for (const compare::LineSpan &span : m_result ? words.result : words.source) {
                    const qreal left = line.X(span.start);
                    const qreal right = line.X(span.start + span.length);
                    painter.drawRect(QRectF(left, line.row.top(), std::max<qreal>(right - left, 2),
                                            line.row.height() - 1));
                }
            }
        }
    }

private:
    bool IsLineToCheck(int line) const
    {
        const std::vector<compare::TextLine> &lines = m_owner.m_diff->resultLines;
        if (line < 0 || size_t(line) >= lines.size())
            return false;
        const compare::TextLine &text = lines[size_t(line)];
        return QStringView(m_owner.m_resultText).sliced(text.start, text.length).startsWith(u"(要確認 ");
    }

    LineState State(int line) const
    {
        const compare::LineDiff &diff = *m_owner.m_diff;
        const auto &states = m_result ? diff.resultStates : diff.sourceStates;
        return line >= 0 && size_t(line) < states.size() ? states[size_t(line)] : LineState::Kept;
    }

    ResultCompare &m_owner;
    bool m_result;
};

ResultCompare::ResultCompare(TextPane &source, TextPane &result, QObject *parent)
    : QObject(parent), m_source(source), m_result(result)
{
    connect(m_source.verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { OnScrolled(false); });
    connect(m_result.verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { OnScrolled(true); });
}

ResultCompare::~ResultCompare()
{
    m_source.SetDecoration(nullptr);
    m_result.SetDecoration(nullptr);
}

void ResultCompare::Show()
{
    Clear();
    m_sourceText = m_source.Text();
    m_resultText = m_result.Text();
    m_diff = std::make_unique<compare::LineDiff>(compare::DiffLines(m_sourceText, m_resultText));
    m_sourceComments = std::make_unique<compare::CommentStates>(m_sourceText, m_diff->sourceLines);
    m_resultComments = std::make_unique<compare::CommentStates>(m_resultText, m_diff->resultLines);
    m_sourceMarks = std::make_unique<Marks>(*this, false);
    m_resultMarks = std::make_unique<Marks>(*this, true);
    m_source.SetDecoration(m_sourceMarks.get());
    m_result.SetDecoration(m_resultMarks.get());
    OnScrolled(false);
    emit ShownChanged(true);
}

void ResultCompare::Clear()
{
    if (!m_diff)
        return;
    m_source.SetDecoration(nullptr);
    m_result.SetDecoration(nullptr);
    m_sourceMarks.reset();
    m_resultMarks.reset();
    m_sourceComments.reset();
    m_resultComments.reset();
    m_words.clear();
    m_diff.reset();
    m_sourceText.clear();
    m_resultText.clear();
    emit ShownChanged(false);
}

void ResultCompare::SetScrollTogether(bool on)
{
    m_together = on;
    if (on)
        OnScrolled(false);
}

QString ResultCompare::CountText(qsizetype lines)
{
    return QStringLiteral("変更 %1 行").arg(Grouped(lines));
}

const compare::WordDiff &ResultCompare::WordsOf(int sourceLine)
{
    const auto found = m_words.find(sourceLine);
    if (found != m_words.end())
        return found->second;
    if (m_words.size() >= MostRememberedLines)
        m_words.clear();
    const compare::LineDiff &diff = *m_diff;
    const int resultLine = diff.resultOfSource[size_t(sourceLine)];
    const compare::TextLine &s = diff.sourceLines[size_t(sourceLine)];
    const compare::TextLine &r = diff.resultLines[size_t(resultLine)];
    compare::WordDiff words = compare::DiffWords(
        QStringView(m_sourceText).mid(s.start, s.length), m_sourceComments->StartsInComment(sourceLine),
        QStringView(m_resultText).mid(r.start, r.length), m_resultComments->StartsInComment(resultLine));
    return m_words.emplace(sourceLine, std::move(words)).first->second;
}

// The line of the other side that stands beside `line`: its pair, or for a line with none the line after
// the nearest paired line above it.
int ResultCompare::PairedLine(bool fromResult, int line) const
{
    const compare::LineDiff &diff = *m_diff;
    const std::vector<int> &pairs = fromResult ? diff.sourceOfResult : diff.resultOfSource;
    const int otherCount = int(fromResult ? diff.sourceLines.size() : diff.resultLines.size());
    line = std::clamp(line, 0, int(pairs.size()) - 1);
    for (int at = line; at >= 0; --at) {
        if (pairs[size_t(at)] != NoLine)
            return std::min(pairs[size_t(at)] + (at == line ? 0 : 1), otherCount - 1);
    }
    return 0;
}

// The panes are lined up at the middle line of the one scrolled, where the eye is; above and below it
// lines stand side by side until the next inserted or deleted line.
void ResultCompare::OnScrolled(bool fromResult)
{
    if (!m_diff || !m_together || m_scrolling)
        return;
    m_scrolling = true;
    TextPane &from = fromResult ? m_result : m_source;
    TextPane &to = fromResult ? m_source : m_result;
    const int top = from.TopLine();
    const int half = int(from.VisibleLines().size()) / 2;
    to.SetTopLine(std::max(0, PairedLine(fromResult, top + half) - half));
    m_scrolling = false;
}

int ResultCompare::CaretLine(const TextPane &pane, const std::vector<compare::TextLine> &lines) const
{
    const qsizetype caret = pane.SelStart();
    const auto after =
        std::upper_bound(lines.begin(), lines.end(), caret,
                         [](qsizetype offset, const compare::TextLine &l) { return offset < l.start; });
    return int(std::max<std::ptrdiff_t>(0, after - lines.begin() - 1));
}

void ResultCompare::NextChange()
{
    if (!m_diff || m_diff->hunks.empty())
        return;
    const bool inResult = m_result.hasFocus();
    const int line =
        CaretLine(inResult ? m_result : m_source, inResult ? m_diff->resultLines : m_diff->sourceLines);
    for (const compare::Hunk &hunk : m_diff->hunks) {
        if ((inResult ? hunk.resultFirst : hunk.sourceFirst) > line) {
            GoTo(hunk);
            return;
        }
    }
    QApplication::beep();
}

void ResultCompare::PreviousChange()
{
    if (!m_diff || m_diff->hunks.empty())
        return;
    const bool inResult = m_result.hasFocus();
    const int line =
        CaretLine(inResult ? m_result : m_source, inResult ? m_diff->resultLines : m_diff->sourceLines);
    for (auto hunk = m_diff->hunks.rbegin(); hunk != m_diff->hunks.rend(); ++hunk) {
        if ((inResult ? hunk->resultFirst : hunk->sourceFirst) < line) {
            GoTo(*hunk);
            return;
        }
    }
    QApplication::beep();
}

void ResultCompare::GoTo(const compare::Hunk &hunk)
{
    const compare::LineDiff &diff = *m_diff;
    const int sourceLine = std::min(hunk.sourceFirst, int(diff.sourceLines.size()) - 1);
    const int resultLine = std::min(hunk.resultFirst, int(diff.resultLines.size()) - 1);
    m_source.SetSelStart(diff.sourceLines[size_t(sourceLine)].start);
    m_result.SetSelStart(diff.resultLines[size_t(resultLine)].start);
    m_scrolling = true;
    m_source.SetTopLine(std::max(0, sourceLine - LinesAboveChange));
    m_result.SetTopLine(std::max(0, resultLine - LinesAboveChange));
    m_scrolling = false;
}
