#pragma once

#include <QTableWidget>

// A grid with one fixed header row and one fixed number column, addressed as the table dialog thinks of it:
// row 0 is the header row, column 0 the number column, data cells start at row 1, column 1. The grid is
// read-only; it reports the key presses, double clicks and focus changes that drive the floating editor.
class FlexGrid : public QTableWidget
{
    Q_OBJECT

public:
    // `rows` and `cols` count the fixed row and the fixed column.
    FlexGrid(int rows, int cols, QWidget *parent = nullptr);

    int Rows() const { return rowCount() + 1; }
    int Cols() const { return columnCount(); }
    // The current cell; row 0 when there is none.
    int Row() const { return currentRow() + 1; }
    int Col() const { return currentColumn(); }
    void SetCurrent(int row, int col);
    void SetTopRow(int row);

    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString &text);
    // Alignment of every data cell of the column, and of its header.
    void SetColAlignment(int col, Qt::Alignment alignment);
    void SetHeaderAlignment(int col, Qt::Alignment alignment);
    void SetColWidthTwips(int col, int twips);
    void SetRowHeightTwips(int twips);
    // Where a data cell lies, in the coordinates of the viewport.
    QRect CellRect(int row, int col) const;

    static int TwipsToPixels(int twips);

signals:
    // A key that types a character: its text (a control key such as Enter gives its control character).
    void KeyPress(const QString &keyText);
    void DblClick();
    void GotFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QTableWidgetItem *CellItem(int row, int col) const;
};
