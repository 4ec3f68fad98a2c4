#pragma once

#include <QByteArrayView>

namespace nc {

// What has come of a program that is still being read (from a pipe): the bytes so far, whether they are
// all, and whether reading broke off before the end (a read error, or no more room).
struct Arrived
{
    QByteArrayView bytes;
    bool all = false;
    bool broken = false;
};

// A program read while it is converted: the bytes that have come stay where they are, and more come after
// them, until the end.
class ArrivingBytes
{
public:
    virtual ~ArrivingBytes() = default;
    // Waits until more than `size` bytes have come, or all of them, or reading broke off.
    virtual Arrived Await(qsizetype size) = 0;
};

// PieceEnd of the whole program, found while it comes: waits for as many bytes as it needs. `seen` is what
// had come then; the end is meaningless when reading broke off.
qsizetype ArrivingPieceEnd(ArrivingBytes &bytes, qsizetype from, qsizetype size, Arrived &seen);

} // namespace nc
