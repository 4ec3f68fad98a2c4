#include "nc/ArrivingBytes.h"

namespace nc {

// As PieceEnd: the last CR LF before each multiple of `size` from `from`, the bytes up to such a place
// being enough to find it.
qsizetype ArrivingPieceEnd(ArrivingBytes &bytes, qsizetype from, qsizetype size, Arrived &seen)
{
    for (qsizetype at = from + size;; at += size) {
        seen = bytes.Await(at);
        if (seen.broken)
            return seen.bytes.size();
        if (seen.bytes.size() <= at)
            return seen.bytes.size(); // all came, and the end is near
        const QByteArrayView come = seen.bytes;
        for (qsizetype lf = at; lf > from + 1 && lf > at - size; --lf)
            if (come[lf - 1] == '\n' && come[lf - 2] == '\r')
                return lf;
    }
}

} // namespace nc
