#pragma once

#include "nc/ConversionPass.h"

#include <QString>
#include <vector>

// Runs `pass` over `program` handed over in pieces cut at `cuts`, as the converter hands over a long
// program, and puts the result together. Every other piece is given up to the pass rather than lent.
inline QString RunPassInPieces(ConversionPass &pass, const QString &program,
                               const std::vector<qsizetype> &cuts)
{
    QString result;
    const auto take = [&](QStringView part) { result += part; };
    pass.Start(16);
    qsizetype from = 0;
    bool giveUp = false;
    for (qsizetype cut : cuts) {
        const QStringView piece = QStringView(program).sliced(from, cut - from);
        if (giveUp)
            pass.Feed(piece.toString());
        else
            pass.Feed(piece);
        giveUp = !giveUp;
        pass.TakeResult(take);
        from = cut;
    }
    pass.Feed(QStringView(program).sliced(from));
    pass.End();
    pass.TakeResult(take);
    return result;
}
