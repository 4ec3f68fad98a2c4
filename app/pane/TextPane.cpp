#include "app/pane/TextPane.h"

#include "app/pane/AppFonts.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

constexpr char16_t ShownCr = 0x240D;   // SYMBOL FOR CARRIAGE RETURN: a lone CR inside a line
constexpr char16_t ShownLf = 0x240A;   // SYMBOL FOR LINE FEED: a lone LF inside a line
constexpr char16_t ShownNul = 0x2400;  // SYMBOL FOR NULL: a NUL byte, which the widget would not show
constexpr char16_t Break = 0x2029;     // a CR LF that ends a block of the widget
constexpr char16_t LineBreak = 0x2028; // a CR LF inside a block of the widget

// Each block costs the widget far more than its characters (a million one-line blocks take seconds to
// build), so a long text is kept in blocks of this many lines, its other line ends being line breaks
// inside the block. The first line end of a text put in is always a block break, so that Enter starts a
// block as before and a block never grows by more than this many lines at a time.
constexpr int LinesPerBlock = 16;

bool IsLineBreak(QChar c)
{
    return c.unicode() == LineBreak;
}

// Program text to the widget's: CR LF becomes a block or line break, a lone CR or LF or a NUL its visible
// symbol (none of the symbols exists in code page 932, so no file holds them).
// `lineBreaks`, when given, receives the number of line breaks in each block the text makes.
QString ToDisplay(QStringView program, std::vector<int> *lineBreaks = nullptr)
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

} // namespace

// Gathers the document changes of one operation into one Changed notification, and repairs line
// breaks the operation split, once it is over.
class TextPane::EditScope
{
public:
    explicit EditScope(TextPane &pane) : m_pane(pane) { ++m_pane.m_editDepth; }
    ~EditScope()
    {
        if (--m_pane.m_editDepth == 0)
            m_pane.FinishEdit();
    }
    EditScope(const EditScope &) = delete;
    EditScope &operator=(const EditScope &) = delete;

private:
    TextPane &m_pane;
};

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

qsizetype TextPane::SystemLength() const
{
    const QTextDocument *doc = document();
    return qsizetype(doc->characterCount() - 1) + (doc->blockCount() - 1) +
           LineBreaksBefore(doc->blockCount());
}

qsizetype TextPane::SystemOffset(int widgetPosition) const
{
    const QTextBlock block = document()->findBlock(widgetPosition);
    const int inBlock = widgetPosition - block.position();
    const int lineBreaks =
        m_lineBreaks[block.blockNumber()] == 0 ? 0 : LineBreaksIn(block.text().left(inBlock));
    return ProgramStart(block) + inBlock + lineBreaks;
}

QTextBlock TextPane::FirstVisibleBlock() const
{
    return firstVisibleBlock();
}

qsizetype TextPane::LineBreaksBefore(int blockNumber) const
{
    if (m_lineBreaksBefore.size() != m_lineBreaks.size() + 1) {
        m_lineBreaksBefore.resize(m_lineBreaks.size() + 1);
        m_lineBreaksBefore[0] = 0;
        for (size_t b = 0; b < m_lineBreaks.size(); ++b)
            m_lineBreaksBefore[b + 1] = m_lineBreaksBefore[b] + m_lineBreaks[b];
    }
    return m_lineBreaksBefore[size_t(blockNumber)];
}

// Every break before the block, of either kind, is a CR LF: one character more than in the widget.
qsizetype TextPane::ProgramStart(const QTextBlock &block) const
{
    const int number = block.blockNumber();
    return block.position() + qsizetype(number) + LineBreaksBefore(number);
}

TextPane::WidgetPoint TextPane::ToWidget(qsizetype offset) const
{
    const QTextDocument *doc = document();
    offset = std::clamp<qsizetype>(offset, 0, SystemLength());
    // The last block that starts at or before `offset`.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (ProgramStart(doc->findBlockByNumber(middle)) <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    qsizetype program = ProgramStart(block);
    int position = block.position();
    if (m_lineBreaks[size_t(low)] > 0) {
        // Walk the block's lines: a line break takes two program characters.
        const QString text = block.text();
        for (const QChar c : text) {
            if (program == offset)
                return {position, false};
            if (IsLineBreak(c)) {
                if (program + 1 == offset)
                    return {position, true};
                program += 2;
            } else {
                ++program;
            }
            ++position;
        }
    } else {
        const qsizetype inBlock = std::min<qsizetype>(offset - program, block.length() - 1);
        program += inBlock;
        position += int(inBlock);
    }
    // Past the last character of the block: on its end, or between the CR and the LF of its break.
    return {position, program != offset};
}

qsizetype TextPane::SelStart() const
{
    const QTextCursor cursor = textCursor();
    if (m_selection.valid && cursor.anchor() == m_selection.anchor &&
        cursor.position() == m_selection.position)
        return m_selection.start;
    return SystemOffset(cursor.selectionStart());
}

qsizetype TextPane::SelLength() const
{
    const QTextCursor cursor = textCursor();
    if (m_selection.valid && cursor.anchor() == m_selection.anchor &&
        cursor.position() == m_selection.position)
        return m_selection.length;
    return SystemOffset(cursor.selectionEnd()) - SystemOffset(cursor.selectionStart());
}

void TextPane::SetSelStart(qsizetype start)
{
    Select(start, 0);
}

void TextPane::SetSelLength(qsizetype length)
{
    Select(SelStart(), length);
}

void TextPane::Select(qsizetype start, qsizetype length)
{
    const qsizetype total = SystemLength();
    start = std::clamp<qsizetype>(start, 0, total);
    length = std::clamp<qsizetype>(length, 0, total - start);
    const WidgetPoint from = ToWidget(start);
    const WidgetPoint to = ToWidget(start + length);
    QTextCursor cursor(document());
    cursor.setPosition(from.position);
    if (length > 0)
        cursor.setPosition(to.insideBreak ? to.position + 1 : to.position, QTextCursor::KeepAnchor);
    m_settingCursor = true;
    setTextCursor(cursor);
    m_settingCursor = false;
    m_selection = {true, start, length, cursor.anchor(), cursor.position()};
}

QString TextPane::SelText() const
{
    const qsizetype start = SelStart();
    const qsizetype length = SelLength();
    if (length == 0)
        return {};
    const WidgetPoint from = ToWidget(start);
    const WidgetPoint to = ToWidget(start + length);
    QTextCursor cursor(document());
    cursor.setPosition(from.position);
    cursor.setPosition(to.insideBreak ? to.position + 1 : to.position, QTextCursor::KeepAnchor);
    // A selection that begins on the LF of a line break takes the whole break from the widget.
    return ToProgram(cursor.selectedText()).mid(from.insideBreak ? 1 : 0, length);
}

void TextPane::SetSelText(const QString &text)
{
    const qsizetype start = SelStart();
    const qsizetype length = SelLength();
    const WidgetPoint from = ToWidget(start);
    const WidgetPoint to = ToWidget(start + length);
    // An end inside a line break replaces the whole break and puts back the half that stays.
    QString program;
    if (from.insideBreak)
        program += u'\r';
    program += text;
    if (to.insideBreak)
        program += u'\n';
    const int toPosition = to.insideBreak ? to.position + 1 : to.position;
    if (program.isEmpty() && from.position == toPosition)
        return;
    EditScope scope(*this);
    ReplaceWidgetRange(from.position, toPosition, program);
    Select(start + text.size(), 0);
}

void TextPane::ReplaceWidgetRange(int from, int to, const QString &programText)
{
    QTextCursor cursor(document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    if (programText.isEmpty())
        cursor.removeSelectedText();
    else
        cursor.insertText(ToDisplay(programText));
}

void TextPane::SetSelColor(const QColor &color)
{
    QTextCharFormat format;
    format.setForeground(color);
    m_formatOnly = true;
    mergeCurrentCharFormat(format);
    m_formatOnly = false;
}

void TextPane::ResetSelectionFormat()
{
    QTextCharFormat format;
    format.setForeground(palette().color(QPalette::Text));
    format.setFontUnderline(false);
    m_formatOnly = true;
    mergeCurrentCharFormat(format);
    m_formatOnly = false;
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

void TextPane::KeepSelectionVisible()
{
    QPalette colours = palette();
    bool same = true;
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        const QColor active = colours.color(QPalette::Active, role);
        if (colours.color(QPalette::Inactive, role) != active) {
            colours.setColor(QPalette::Inactive, role, active);
            same = false;
        }
    }
    if (!same)
        setPalette(colours);
}

int TextPane::FirstLineOf(const QTextBlock &block) const
{
    const int number = block.blockNumber();
    return number + int(LineBreaksBefore(number));
}

void TextPane::SetDecoration(PaneDecoration *decoration)
{
    m_decoration = decoration;
    viewport()->update();
}

// A block holds several program lines, one line of its layout each (the pane never wraps), so the lines
// on screen are the layout lines of the blocks on screen.
std::vector<PaneLine> TextPane::VisibleLines() const
{
    std::vector<PaneLine> lines;
    const QPointF offset = contentOffset();
    const qreal height = viewport()->height();
    const qreal width = viewport()->width();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > height)
            break;
        const QTextLayout *layout = block.layout();
        if (!block.isVisible() || layout == nullptr)
            continue;
        const int first = FirstLineOf(block);
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine textLine = layout->lineAt(i);
            const QRectF rect = textLine.rect().translated(box.topLeft());
            if (rect.bottom() < 0)
                continue;
            if (rect.top() > height)
                break;
            lines.push_back({first + i, QRectF(0, rect.top(), width, rect.height()), textLine,
                             textLine.textStart(), box.left()});
        }
    }
    return lines;
}

// The scroll bar counts the lines of the layout, which are the program lines: each block is told how
// many it holds.
int TextPane::TopLine() const
{
    return verticalScrollBar()->value();
}

void TextPane::SetTopLine(int line)
{
    verticalScrollBar()->setValue(line);
}

void TextPane::paintEvent(QPaintEvent *event)
{
    if (m_decoration == nullptr) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    const std::vector<PaneLine> lines = VisibleLines();
    {
        QPainter painter(viewport());
        m_decoration->PaintUnder(painter, lines);
    }
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    m_decoration->PaintOver(painter, lines);
}

void TextPane::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    // A new width lays the document out afresh, which takes every block for one line again.
    if (event->oldSize().width() != event->size().width())
        TellLineCounts();
}

void TextPane::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        KeepSelectionVisible();
}

void TextPane::keyPressEvent(QKeyEvent *event)
{
    EditScope scope(*this);
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
    if (enter && plain && !isReadOnly()) {
        // The widget would start a paragraph (or a line separator with Shift); a program line ends in CR LF.
        SetSelText(QStringLiteral("\r\n"));
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextPane::inputMethodEvent(QInputMethodEvent *event)
{
    EditScope scope(*this);
    QPlainTextEdit::inputMethodEvent(event);
}

void TextPane::mousePressEvent(QMouseEvent *event)
{
    ClearSelectionMemory();
    QPlainTextEdit::mousePressEvent(event);
    if (event->button() == Qt::RightButton) {
        // The press is the pane's own, not its parent's, even though the widget does nothing with it.
        event->accept();
        emit RightButtonDown(event->globalPosition().toPoint());
    }
}

void TextPane::contextMenuEvent(QContextMenuEvent *event)
{
    // No menu of the widget's own: the window decides what a right click opens.
    event->accept();
}

bool TextPane::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void TextPane::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source->hasText())
        return;
    EditScope scope(*this);
    SetSelText(WithCrLfLineEnds(source->text()));
    ensureCursorVisible();
}

QMimeData *TextPane::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(SelText());
    return data;
}
