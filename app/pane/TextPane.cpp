#include "app/pane/TextPane.h"

#include "app/pane/AppFonts.h"
#include "app/pane/PaneText.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

// The pane's text: the program text and the widget's, and the changes made to it.

namespace pane {

bool IsLineBreak(QChar c)
{
    return c.unicode() == LineBreak;
}

// Program text to the widget's: CR LF becomes a block or line break, a lone CR or LF or a NUL its visible
// symbol (none of the symbols exists in code page 932, so no file holds them).
// `lineBreaks`, when given, receives the number of line breaks in each block the text makes.
QString ToDisplay(QStringView program, std::vector<int> *lineBreaks)
{
    QString out(program.size(), Qt::Uninitialized);
    QChar *to = out.data();
    const qsizetype size = program.size();
    int breaks = 0;
    if (lineBreaks)
        lineBreaks->assign(1, 0);
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = program[i].unicode();
        if (c == u'\r' && i + 1 < size && program[i + 1] == u'\n') {
            const bool newBlock = breaks++ % LinesPerBlock == 0;
            *to++ = QChar(newBlock ? Break : LineBreak);
            if (lineBreaks) {
                if (newBlock)
                    lineBreaks->push_back(0);
                else
                    ++lineBreaks->back();
            }
            ++i;
        } else if (c == u'\r') {
            *to++ = QChar(ShownCr);
        } else if (c == u'\n') {
            *to++ = QChar(ShownLf);
        } else if (c == u'\0') {
            *to++ = QChar(ShownNul);
        } else {
            *to++ = QChar(c);
        }
    }
    out.truncate(to - out.constData());
    return out;
}

// The widget's text to program text: the exact inverse of ToDisplay.
QString ToProgram(QStringView display)
{
    qsizetype breaks = 0;
    for (const QChar ch : display)
        breaks += ch.unicode() == Break || ch.unicode() == LineBreak;
    QString out(display.size() + breaks, Qt::Uninitialized);
    QChar *to = out.data();
    for (const QChar ch : display) {
        switch (ch.unicode()) {
        case Break:
        case LineBreak:
            *to++ = u'\r';
            *to++ = u'\n';
            break;
        case ShownCr:
            *to++ = u'\r';
            break;
        case ShownLf:
            *to++ = u'\n';
            break;
        case ShownNul:
            *to++ = u'\0';
            break;
        default:
            *to++ = ch;
        }
    }
    return out;
}

int LineBreaksIn(QStringView text)
{
    return int(std::count_if(text.begin(), text.end(), IsLineBreak));
}

// Pasted text keeps its lines but every line end becomes CR LF, as if typed with Enter.
QString WithCrLfLineEnds(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            out += u"\r\n";
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace pane

using namespace pane;

TextPane::TextPane(QWidget *parent) : QPlainTextEdit(parent)
{
    setFont(GothicFont(12));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // The application keeps its own one-step undo; the widget's would hold every edit of huge texts.
    setUndoRedoEnabled(false);
    setAcceptDrops(false);
    KeepSelectionVisible();
    connect(document(), &QTextDocument::contentsChange, this, &TextPane::OnContentsChange);
    const auto cursorMoved = [this] {
        if (!m_settingCursor)
            ClearSelectionMemory();
    };
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, cursorMoved);
    connect(this, &QPlainTextEdit::selectionChanged, this, cursorMoved);
}

QString TextPane::Text() const
{
    // Searches ask for the whole text at every step: it is built once per change of the text.
    if (!m_textValid) {
        m_text = ToProgram(document()->toRawText());
        m_textValid = true;
    }
    return m_text;
}

TextPane::Snapshot TextPane::TakeSnapshot() const
{
    if (m_textValid)
        return {m_text, true};
    return {document()->toRawText(), false};
}

QString TextPane::ProgramText(const Snapshot &snapshot)
{
    return snapshot.isProgramText ? snapshot.text : ToProgram(snapshot.text);
}

void TextPane::SetText(const QString &text)
{
    EditScope scope(*this);
    ClearSelectionMemory();
    std::vector<int> lineBreaks;
    const QString display = ToDisplay(text, &lineBreaks);
    m_settingText = true;
    setPlainText(display);
    m_settingText = false;
    m_lineBreaks = std::move(lineBreaks);
    m_lineBreaksBefore.clear();
    TellLineCounts();
    m_text = text;
    m_textValid = true;
    // Setting the text is a change even when the new text equals the old one.
    m_changePending = true;
}

// The widget takes a block it has not drawn yet for one line; told how many lines each block holds, its
// scroll bar spans the whole program from the start.
void TextPane::TellLineCounts()
{
    QTextDocument *doc = document();
    auto lineBreaks = m_lineBreaks.cbegin();
    for (QTextBlock block = doc->begin(); block.isValid() && lineBreaks != m_lineBreaks.cend();
         block = block.next())
        block.setLineCount(*lineBreaks++ + 1);
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
}

int TextPane::LineCount() const
{
    const int blocks = document()->blockCount();
    return blocks + int(LineBreaksBefore(blocks));
}

// The blocks from the one holding `from` to the one holding `from + added` are new; those after them are
// the old ones, so the difference in the number of blocks tells how many old ones they replace.
void TextPane::CountLineBreaks(int from, int added)
{
    const QTextDocument *doc = document();
    const int end = doc->characterCount() - 1;
    QTextBlock block = doc->findBlock(std::clamp(from, 0, end));
    const QTextBlock last = doc->findBlock(std::clamp(from + added, 0, end));
    const int first = block.blockNumber();
    const int newSpan = last.blockNumber() - first + 1;
    const int oldSpan = newSpan - (doc->blockCount() - int(m_lineBreaks.size()));
    std::vector<int> counts;
    counts.reserve(size_t(newSpan));
    for (;; block = block.next()) {
        counts.push_back(LineBreaksIn(block.text()));
        block.setLineCount(counts.back() + 1);
        if (block == last)
            break;
    }
    m_lineBreaksBefore.clear();
    if (oldSpan < 1 || first + oldSpan > int(m_lineBreaks.size())) {
        // Not a change confined to those blocks after all: count every block.
        m_lineBreaks.clear();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            m_lineBreaks.push_back(LineBreaksIn(b.text()));
        return;
    }
    const auto at = m_lineBreaks.begin() + first;
    m_lineBreaks.erase(at, at + oldSpan);
    m_lineBreaks.insert(m_lineBreaks.begin() + first, counts.begin(), counts.end());
}

void TextPane::OnContentsChange(int from, int removed, int added)
{
    Q_UNUSED(removed);
    if (m_formatOnly)
        return;
    m_textValid = false;
    m_text = QString();
    // SetText counts the breaks of the text it puts in as it converts it.
    if (!m_settingText)
        CountLineBreaks(from, added);
    ClearSelectionMemory();
    m_changePending = true;
    if (m_editDepth > 0) {
        m_seams.push_back(from);
        m_seams.push_back(from + added);
        return;
    }
    // A change from outside the pane's own operations: report it at once, the document is mid-signal.
    m_changePending = false;
    emit Changed();
}

void TextPane::FinishEdit()
{
    ++m_editDepth;
    JoinSplitBreaks();
    --m_editDepth;
    m_seams.clear();
    if (m_changePending) {
        m_changePending = false;
        emit Changed();
    }
}

// An edit can bring a lone CR and a lone LF together (deleting what stood between them, or inserting
// one next to the other): the program text then holds a CR LF there, which the pane shows as a break.
void TextPane::JoinSplitBreaks()
{
    std::vector<int> seams;
    seams.swap(m_seams);
    std::sort(seams.begin(), seams.end(), std::greater<int>());
    seams.erase(std::unique(seams.begin(), seams.end()), seams.end());
    QTextDocument *doc = document();
    for (const int seam : seams) {
        if (seam <= 0 || seam >= doc->characterCount() - 1)
            continue;
        if (doc->characterAt(seam - 1) != QChar(ShownCr) || doc->characterAt(seam) != QChar(ShownLf))
            continue;
        const qsizetype caret = SelStart() + SelLength();
        QTextCursor cursor(doc);
        cursor.setPosition(seam - 1);
        cursor.setPosition(seam + 1, QTextCursor::KeepAnchor);
        cursor.insertText(QString(QChar(Break)));
        Select(caret, 0);
    }
}

void TextPane::ClearSelectionMemory()
{
    m_selection.valid = false;
}
