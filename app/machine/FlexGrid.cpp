#include "app/machine/FlexGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {
// Twips are 1/1440 inch; at the 96 logical dots per inch Qt lays widgets out in, 15 twips make a pixel.
constexpr double TwipsPerPixel = 1440.0 / 96.0;
} // namespace

FlexGrid::FlexGrid(int rows, int cols, QWidget *parent) : QTableWidget(rows - 1, cols, parent)
{
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (int c = 0; c < cols; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    const QBrush fixedBackground = palette().brush(QPalette::Button);
    const QBrush fixedText = palette().brush(QPalette::ButtonText);
    for (int r = 0; r < rowCount(); ++r) {
        // The number column is fixed: never current, never selected, never edited.
        auto *number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(Qt::NoItemFlags);
        number->setBackground(fixedBackground);
        number->setForeground(fixedText);
        number->setTextAlignment(Qt::AlignCenter);
        setItem(r, 0, number);
        for (int c = 1; c < cols; ++c)
            setItem(r, c, new QTableWidgetItem);
    }
}

int FlexGrid::TwipsToPixels(int twips)
{
    return qRound(twips / TwipsPerPixel);
}

void FlexGrid::SetCurrent(int row, int col)
{
    setCurrentCell(row - 1, col);
}

void FlexGrid::SetTopRow(int row)
{
    scrollTo(model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

QTableWidgetItem *FlexGrid::CellItem(int row, int col) const
{
    return row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    return CellItem(row, col)->text();
}

void FlexGrid::SetTextMatrix(int row, int col, const QString &text)
{
    CellItem(row, col)->setText(text);
}

void FlexGrid::SetColAlignment(int col, Qt::Alignment alignment)
{
    for (int r = 0; r < rowCount(); ++r)
        item(r, col)->setTextAlignment(alignment);
}

void FlexGrid::SetHeaderAlignment(int col, Qt::Alignment alignment)
{
    horizontalHeaderItem(col)->setTextAlignment(alignment);
}

void FlexGrid::SetColWidthTwips(int col, int twips)
{
    setColumnWidth(col, TwipsToPixels(twips));
}

void FlexGrid::SetRowHeightTwips(int twips)
{
    const int pixels = TwipsToPixels(twips);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(pixels);
    horizontalHeader()->setFixedHeight(pixels);
}

QRect FlexGrid::CellRect(int row, int col) const
{
    return visualRect(model()->index(row - 1, col));
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!text.isEmpty() && !command) {
        const QChar first = text.front();
        // Typing, Enter, Backspace and the space start an edit; Esc and Tab keep their dialog meaning.
        if (first.isPrint() || first == u'\r' || first == u'\b') {
            event->accept();
            emit KeyPress(text);
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

void FlexGrid::inputMethodEvent(QInputMethodEvent *event)
{
    // Text composed with an input method arrives here rather than as key presses.
    if (!event->commitString().isEmpty()) {
        event->accept();
        emit KeyPress(event->commitString());
        return;
    }
    QTableWidget::inputMethodEvent(event);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && (index.flags() & Qt::ItemIsEnabled))
        emit DblClick();
}

void FlexGrid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    emit GotFocus();
}
