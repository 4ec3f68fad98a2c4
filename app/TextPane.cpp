#include "app/TextPane.h"

#include "app/AppFonts.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

constexpr char16_t ShownCr = 0x240D;  // SYMBOL FOR CARRIAGE RETURN: a lone CR inside a line
constexpr char16_t ShownLf = 0x240A;  // SYMBOL FOR LINE FEED: a lone LF inside a line
constexpr char16_t ShownNul = 0x2400; // SYMBOL FOR NULL: a NUL byte, which the widget would not show
constexpr char16_t Break = 0x2029;    // the widget's line break, one CR LF of the program text

// Program text to the widget's: CR LF becomes a line break, a lone CR or LF or a NUL its visible symbol
// (none of the symbols exists in code page 932, so no file holds them).
QString ToDisplay(QStringView program)
{
    QString out(program.size(), Qt::Uninitialized);
    QChar *to = out.data();
    const qsizetype size = program.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = program[i].unicode();
        if (c == u'\r' && i + 1 < size && program[i + 1] == u'\n') {
            *to++ = QChar(Break);
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
    const qsizetype breaks = std::count(display.begin(), display.end(), QChar(Break));
    QString out(display.size() + breaks, Qt::Uninitialized);
    QChar *to = out.data();
    for (const QChar ch : display) {
        switch (ch.unicode()) {
        case Break:
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
    return ToProgram(document()->toRawText());
}

void TextPane::SetText(const QString &text)
{
    EditScope scope(*this);
    ClearSelectionMemory();
    setPlainText(ToDisplay(text));
    // Setting the text is a change even when the new text equals the old one.
    m_changePending = true;
}

qsizetype TextPane::TextLength() const
{
    const QTextDocument *doc = document();
    return qsizetype(doc->characterCount() - 1) + (doc->blockCount() - 1);
}

qsizetype TextPane::OffsetOfPosition(int widgetPosition) const
{
    return widgetPosition + document()->findBlock(widgetPosition).blockNumber();
}

TextPane::WidgetPoint TextPane::ToWidget(qsizetype offset) const
{
    const QTextDocument *doc = document();
    offset = std::clamp<qsizetype>(offset, 0, TextLength());
    // The last line whose program offset is at or before `offset`: line b starts at position(b) + b.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (doc->findBlockByNumber(middle).position() + qsizetype(middle) <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const qsizetype inLine = offset - (block.position() + qsizetype(low));
    const int lineLength = block.length() - 1;
    if (inLine <= lineLength)
        return {block.position() + int(inLine), false};
    return {block.position() + lineLength, true};
}

qsizetype TextPane::SelStart() const
{
    const QTextCursor cursor = textCursor();
    if (m_selection.valid && cursor.anchor() == m_selection.anchor &&
        cursor.position() == m_selection.position)
        return m_selection.start;
    return OffsetOfPosition(cursor.selectionStart());
}

qsizetype TextPane::SelLength() const
{
    const QTextCursor cursor = textCursor();
    if (m_selection.valid && cursor.anchor() == m_selection.anchor &&
        cursor.position() == m_selection.position)
        return m_selection.length;
    return OffsetOfPosition(cursor.selectionEnd()) - OffsetOfPosition(cursor.selectionStart());
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
    const qsizetype total = TextLength();
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

int TextPane::LineCount() const
{
    return document()->blockCount();
}

void TextPane::OnContentsChange(int from, int removed, int added)
{
    Q_UNUSED(removed);
    if (m_formatOnly)
        return;
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
