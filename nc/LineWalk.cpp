#include "nc/LineWalk.h"

namespace nc {

void CutLine(QStringView line, bool &inComment, std::vector<LinePiece> &pieces)
{
    pieces.clear();
    NcScanState scan;
    // The scanner reads the caller's characters in place.
    scan.Line = QString::fromRawData(line.data(), line.size());
    const auto add = [&pieces](LinePieceKind kind, qsizetype first, qsizetype last) {
        if (kind == LinePieceKind::Other && !pieces.empty() && pieces.back().kind == LinePieceKind::Other &&
            pieces.back().start + pieces.back().length == first - 1) {
            pieces.back().length += last - first + 1;
            return;
        }
        pieces.push_back({kind, first - 1, last - first + 1});
    };
    WalkLine(
        scan, inComment,
        [&](NcScanState &s) {
            const qsizetype first = s.Pos;
            if (IsAddressLetter(s.CharAt(first))) {
                s.ReadWordValue();
                // a value runs up to a blank; a comment after a bare letter ("X(NOTE)") stays a comment
                const qsizetype bracket = s.Token.indexOf(u'(');
                if (bracket >= 0)
                    s.Pos = first + bracket;
                add(LinePieceKind::Word, first, s.Pos);
            } else {
                add(LinePieceKind::Other, first, first);
            }
        },
        [&](qsizetype first, qsizetype last) { add(LinePieceKind::Comment, first, last); });
}

} // namespace nc
