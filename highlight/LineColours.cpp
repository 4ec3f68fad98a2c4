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

bool InCommentAfter(QStringView line, bool inComment)
{
    NcScanState scan;
    // The scanner reads the caller's characters in place.
    scan.Line = QString::fromRawData(line.data(), line.size());
    nc::WalkLine(
        scan, inComment, [](NcScanState &) {}, [](qsizetype, qsizetype) {});
    return inComment;
}

} // namespace highlight
