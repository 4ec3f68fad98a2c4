#include "app/pane/TextPane.h"

#include "app/pane/PaneText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

// Offsets and the selection in the system's terms, where a CR LF counts two characters.

using namespace pane;

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
