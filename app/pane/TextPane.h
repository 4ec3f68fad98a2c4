#pragma once

#include <QPlainTextEdit>
#include <QTextLayout>
#include <vector>

class QColor;
class QPainter;
class QTextBlock;

// One program line on screen, for drawing beside the text.
struct PaneLine
{
    int line = 0;       // the program line (0 is the first)
    QRectF row;         // its row across the viewport, in viewport coordinates
    QTextLine textLine; // its line of the block's layout
    int startInBlock = 0;
    qreal left = 0; // where the block's layout starts, in viewport coordinates

    // The x in the viewport where character `column` of the line starts (a lone CR or LF counts one).
    qreal X(qsizetype column) const { return left + textLine.cursorToX(int(startInBlock + column)); }
};

// Draws under and over a pane's text, asked only for the lines on screen; leaves the characters' formats
// alone, so that it composes with any colouring of the text.
class PaneDecoration
{
public:
    virtual ~PaneDecoration() = default;
    virtual void PaintUnder(QPainter &painter, const std::vector<PaneLine> &lines) = 0;
    virtual void PaintOver(QPainter &painter, const std::vector<PaneLine> &lines) = 0;
};

// A program text pane. Its offsets are the program's: a CR LF line end counts two characters, and a lone
// CR or LF is an ordinary character inside a line, shown as U+240D or U+240A (a NUL as U+2400). Every line
// break the widget holds (a block break, or a line break inside a block) is one CR LF, so an offset is the
// widget position plus the number of breaks before it.
class TextPane : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TextPane(QWidget *parent = nullptr);

    // The whole text, lines ending in CR LF.
    QString Text() const;
    // The text for a copy taken without stopping the window for long: the program text when it is at
    // hand, else the widget's own text (a plain copy), which ProgramText turns into the program text on
    // any thread.
    struct Snapshot
    {
        QString text;
        bool isProgramText = false;
    };
    Snapshot TakeSnapshot() const;
    static QString ProgramText(const Snapshot &snapshot);
    // Replaces the whole text; the caret goes to offset 0 with nothing selected.
    void SetText(const QString &text);

    qsizetype SelStart() const;
    // Puts the caret at `start` (clamped to the text) with nothing selected.
    void SetSelStart(qsizetype start);
    qsizetype SelLength() const;
    // Selects `length` characters from the selection start (clamped to the text).
    void SetSelLength(qsizetype length);
    QString SelText() const;
    // Replaces the selection and leaves the caret just after the new text, nothing selected.
    void SetSelText(const QString &text);

    // The text colour of the selected characters; not a change of the text.
    void SetSelColor(const QColor &color);
    // Back to the window-text colour without underline: the search's reset of the selection.
    void ResetSelectionFormat();

    // The number of lines: one more than the number of CR LF line ends.
    int LineCount() const;

    // The length of Text(), without building it.
    qsizetype SystemLength() const;
    // The offset in Text() of a position of the widget's document; logarithmic in the number of lines.
    qsizetype SystemOffset(int widgetPosition) const;

    // The first block of the widget's document in view, for what colours the blocks as they are drawn.
    QTextBlock FirstVisibleBlock() const;
    // Drawn with the text until replaced; not owned; nullptr for none.
    void SetDecoration(PaneDecoration *decoration);
    // The program lines on screen, in order.
    std::vector<PaneLine> VisibleLines() const;
    // The program line at the top of the pane, and scrolling to put one there.
    int TopLine() const;
    void SetTopLine(int line);

signals:
    // Once after every change of the text, typed or made by the program.
    void Changed();
    // The right mouse button went down at this screen position.
    void RightButtonDown(const QPoint &globalPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    class EditScope;
    friend class EditScope;

    // A program offset placed in the widget: the position, and whether the offset falls between the CR
    // and the LF of a line break (the position is then the end of the line before it).
    struct WidgetPoint
    {
        int position = 0;
        bool insideBreak = false;
    };

    WidgetPoint ToWidget(qsizetype offset) const;
    // The program offset where a block starts.
    qsizetype ProgramStart(const QTextBlock &block) const;
    // The line breaks inside the blocks before block `blockNumber` (the last number gives them all).
    qsizetype LineBreaksBefore(int blockNumber) const;
    // The program line a block starts with.
    int FirstLineOf(const QTextBlock &block) const;
    void CountLineBreaks(int from, int added);
    void TellLineCounts();
    void Select(qsizetype start, qsizetype length);
    void ReplaceWidgetRange(int from, int to, const QString &programText);
    void OnContentsChange(int from, int removed, int added);
    void FinishEdit();
    void JoinSplitBreaks();
    void KeepSelectionVisible();
    void ClearSelectionMemory();

    PaneDecoration *m_decoration = nullptr;
    int m_editDepth = 0;
    bool m_changePending = false;
    bool m_formatOnly = false;
    bool m_settingCursor = false;
    // Widget positions where an edit joined old and new text: a lone CR before a lone LF there is a
    // line break again.
    std::vector<int> m_seams;

    // The line breaks inside each block of the widget, and their running sum (rebuilt after a change,
    // when first asked for), so that an offset is placed without reading the text before it.
    std::vector<int> m_lineBreaks{0};
    mutable std::vector<qsizetype> m_lineBreaksBefore;
    bool m_settingText = false;

    // The whole program text, built when first asked for after a change.
    mutable QString m_text;
    mutable bool m_textValid = true;

    // The selection as last set in program offsets, valid while the widget's cursor stays where it was
    // put; it keeps an offset that falls inside a line break.
    struct SelectionMemory
    {
        bool valid = false;
        qsizetype start = 0;
        qsizetype length = 0;
        int anchor = 0;
        int position = 0;
    } m_selection;
};
