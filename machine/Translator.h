#pragma once

#include <QString>

class ConversionTable;

struct TranslatorOptions
{
    bool Check1 = false; // "M00,M01の後に改行を追加。": an empty line after a program stop
};

enum class TranslationFailure
{
    None,
    Index, // too many M words on a line, or an M code the table does not name: shown with an error icon
    Other, // any other failure: shown with its description
};

struct TranslationResult
{
    QString text; // on a failure, the lines emitted before the failing line
    bool failed = false;
    TranslationFailure failure = TranslationFailure::None;
    QString message;
    // The source lines whose output was replaced by a line for the user to check, "(要確認 ...)": a word
    // without a value, a position no source word gave, a feed of zero, a code the translation drops, a
    // macro statement, the blocks and profile of a turning cycle that cannot be called, a contour line
    // with a code the contour does not take, a move without its G code after a cycle.
    qsizetype flaggedLines = 0;
};

// Translates a FANUC lathe program into the Okuma OSP dialect under the conversion table.
TranslationResult TranslateProgram(const QString &source, const ConversionTable &table,
                                   const TranslatorOptions &options);

// The two-line message of an index failure: its usual cause is a program whose lines end with LF alone,
// which the translator reads as one long line.
QString TranslatorIndexFailureMessage();
