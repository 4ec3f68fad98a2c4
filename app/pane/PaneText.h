#pragma once

#include "app/pane/TextPane.h"

#include <QString>
#include <QStringView>
#include <vector>

// The program text as the widget holds it, and the scope of one edit: shared by the pane's own files,
// not part of its interface.
namespace pane {

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

bool IsLineBreak(QChar c);

// Program text to the widget's: CR LF becomes a block or line break, a lone CR or LF or a NUL its visible
// symbol (none of the symbols exists in code page 932, so no file holds them).
// `lineBreaks`, when given, receives the number of line breaks in each block the text makes.
QString ToDisplay(QStringView program, std::vector<int> *lineBreaks = nullptr);

// The widget's text to program text: the exact inverse of ToDisplay.
QString ToProgram(QStringView display);

int LineBreaksIn(QStringView text);

// Pasted text keeps its lines but every line end becomes CR LF, as if typed with Enter.
QString WithCrLfLineEnds(QStringView text);

} // namespace pane

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
