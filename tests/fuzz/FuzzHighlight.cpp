// Fuzzes the colouring of program lines: over a program of brackets, words, line-end symbols and other
// characters, the spans of each line are in order, not empty, inside the line, and agree with the line
// walker's pieces (comments exactly, words covered, nothing else coloured); the comment state carried to
// the next line is the walker's, and the one the quick state scan gives.
#include "highlight/LineColours.h"
#include "nc/LineWalk.h"
#include "tests/fuzz/FuzzInput.h"

#include <iterator>
#include <vector>

namespace {

// Brackets and address letters often, so that comments open and close at every place of a line.
QString ProgramOf(const QByteArray &bytes)
{
    static const char16_t alphabet[] = {u'(',      u')', u'(', u')', u'G',  u'M',      u'N',
                                        u'X',      u'1', u'.', u'-', u' ',  u'\u240a', u'\u240d',
                                        u'\u30c6', u'x', u'#', u'%', u'\n', u'\n'};
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text += QChar(alphabet[uint8_t(byte) % std::size(alphabet)]);
    return text;
}

bool SameAsComment(const highlight::Span &span, const nc::LinePiece &piece)
{
    return span.kind == highlight::SpanKind::Comment && span.start == piece.start &&
           span.length == piece.length;
}

// Every walker piece is matched: a comment by one comment span, a word by one whole-word span or by its
// letter and value, anything else by no span at all.
bool SpansMatchPieces(const std::vector<highlight::Span> &spans, const std::vector<nc::LinePiece> &pieces)
{
    size_t s = 0;
    for (const nc::LinePiece &piece : pieces) {
        if (piece.kind == nc::LinePieceKind::Other)
            continue;
        if (s >= spans.size())
            return false;
        if (piece.kind == nc::LinePieceKind::Comment) {
            if (!SameAsComment(spans[s++], piece))
                return false;
            continue;
        }
        qsizetype covered = 0;
        while (s < spans.size() && spans[s].start == piece.start + covered && covered < piece.length &&
               spans[s].kind != highlight::SpanKind::Comment)
            covered += spans[s++].length;
        if (covered != piece.length)
            return false;
    }
    return s == spans.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QString program = ProgramOf(input.Rest());
    highlight::LineColours colours;
    std::vector<nc::LinePiece> pieces;
    bool inComment = false;
    bool walkerInComment = false;
    for (const QStringView line : QStringView(program).tokenize(u'\n')) {
        const bool before = inComment;
        const std::vector<highlight::Span> &spans = colours.Colour(line, inComment);
        qsizetype at = 0;
        for (const highlight::Span &span : spans) {
            FuzzCheck(span.length > 0 && span.start >= at && span.start + span.length <= line.size());
            at = span.start + span.length;
        }
        nc::CutLine(line, walkerInComment, pieces);
        FuzzCheck(inComment == walkerInComment);
        FuzzCheck(highlight::InCommentAfter(line, before) == inComment);
        FuzzCheck(SpansMatchPieces(spans, pieces));
    }
    return 0;
}
