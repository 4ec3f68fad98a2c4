#include "highlight/LineColours.h"

namespace highlight {

namespace {

// N, G and M words are coloured whole: the letter says more than the number after it.
bool WholeWordKind(QChar letter, SpanKind &kind)
{
    switch (letter.unicode()) {
    case u'N':
        kind = SpanKind::Sequence;
        return true;
    case u'G':
        kind = SpanKind::GCode;
        return true;
    case u'M':
        kind = SpanKind::MCode;
        return true;
    default:
        return false;
    }
}

} // namespace

const std::vector<Span> &LineColours::Colour(QStringView line, bool &inComment)
{
    m_spans.clear();
    nc::CutLine(line, inComment, m_pieces);
    for (const nc::LinePiece &piece : m_pieces) {
        switch (piece.kind) {
        case nc::LinePieceKind::Comment:
            m_spans.push_back({SpanKind::Comment, piece.start, piece.length});
            break;
        case nc::LinePieceKind::Word: {
            SpanKind whole;
            if (WholeWordKind(line[piece.start], whole)) {
                m_spans.push_back({whole, piece.start, piece.length});
                break;
            }
            m_spans.push_back({SpanKind::Address, piece.start, 1});
            if (piece.length > 1)
                m_spans.push_back({SpanKind::Number, piece.start + 1, piece.length - 1});
            break;
        }
        case nc::LinePieceKind::Other:
            break;
        }
    }
    return m_spans;
}

// The same steps as walking the line with nothing to do for its words: a word's value never runs over a
// "(" (CutLine), so only the brackets count, and the text up to the next "(" is skipped at once.
bool InCommentAfter(QStringView line, bool inComment)
{
    qsizetype pos = 1; // on a character, 1-based as the scanner counts
    while (pos <= line.size()) {
        if (!inComment) {
            const qsizetype open = line.indexOf(u'(', pos - 1);
            if (open < 0)
                return false;
            pos = open + 1;
        }
        inComment = !nc::StepOverComment(line, pos);
        ++pos;
    }
    return inComment;
}

} // namespace highlight
