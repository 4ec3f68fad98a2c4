#include "app/pane/TextPane.h"

#include "app/pane/PaneText.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

// What the pane shows, and the input it takes.

using namespace pane;

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
