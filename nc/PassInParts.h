#pragma once

#include "nc/ArrivingBytes.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

class ConversionPass;

namespace nc {

// Makes a new pass of one conversion, with its options, in its starting state.
using PassMaker = std::function<std::unique_ptr<ConversionPass>()>;
// Takes the next bytes of the result.
using ByteSink = std::function<void(QByteArrayView)>;

struct PassPartsPlan
{
    // The program is decoded, converted and its result encoded a piece of about this many bytes at a time.
    qsizetype pieceSize = qsizetype(1) << 17;
    // How many parts are converted at once; 0: one per processor.
    int parts = 0;
    // A part converted ahead starts this many bytes before it, so that the state its pass reaches at the
    // part's first line is the one the whole run reaches there as often as possible.
    qsizetype lookback = qsizetype(1) << 16;
};

struct PassPartsOutcome
{
    bool failed = false; // the pass stopped with `failureMessage`; the result holds the lines before
    QString failureMessage;
    int unwritable = -1; // a character of the result that code page 932 cannot hold; nothing after it written
    int partsAhead = 0;  // parts converted ahead on other threads
    int partsKept = 0;   // of those, the parts whose state at their start proved right and were kept
    // Bytes still coming were no clean code page 932, or reading broke off: nothing was written.
    bool notConverted = false;
};

// IsCleanCp932, its parts checked at once: as many as the plan has, none smaller than its pieces, each
// cut just after a CR LF (which never stands inside a character).
bool IsCleanCp932InParts(QByteArrayView bytes, const PassPartsPlan &plan = {});

// Converts `bytes` (clean code page 932: every byte sequence a character) with passes from `makePass` and
// hands the result, in code page 932, to `write` in order: exactly the bytes one pass fed the program
// piece by piece would give. When the pass can list its carried state, the parts after the first are
// converted ahead on other threads, each from the state its lookback leads to; a part is kept only when
// the state the conversion really reaches at its start is equal, and converted again in line otherwise.
PassPartsOutcome RunPassInParts(const PassMaker &makePass, QByteArrayView bytes, const ByteSink &write,
                                const PassPartsPlan &plan = {});

// The same for a program still coming (from a pipe): its pieces are converted in line as they come, and
// once all have come the rest in parts as above, so that the reading and the conversion overlap. The result
// is held until every byte has come and proved clean code page 932, and then written as RunPassInParts
// writes it; bytes that are no character, or reading that broke off, give `notConverted` and nothing
// written.
PassPartsOutcome RunPassOnArrivingBytes(const PassMaker &makePass, ArrivingBytes &arriving,
                                        const ByteSink &write, const PassPartsPlan &plan = {});

} // namespace nc
