#pragma once

#include "search/SearchMessage.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

#include <optional>

// The replacement by calculation: the number after an occurrence of the search text is added to,
// subtracted from, multiplied or divided by an operand and written back in one of four number styles.

enum class CalcOperator
{
    Add,      // "＋"
    Subtract, // "－"
    Multiply, // "×"
    Divide,   // "÷"
};

struct CalcSettings
{
    CalcOperator op = CalcOperator::Add;
    QString operand;
    int format = 1; // 1 plain (105, 12.5), 2 "#####0.###" (105.), 3 "#####0.0##" (105.0), 4 "####00" (03)
};

// The operator of a full-width sign as the dialog lists it; none for any other text.
std::optional<CalcOperator> CalcOperatorOfText(const QString &text);

// Why the operand cannot be used, as a message for the user: for ＋ and － it must read wholly as a
// number, a divisor must not be 0, and no number of ten characters may give a result beyond the range
// of single precision. None when it can be used.
std::optional<SearchMessage> CalcOperandProblem(const CalcSettings &settings);

// The number text read from the ten characters after an occurrence.
struct CalcNumberText
{
    QString number;         // sign, digits and points as read; empty when no number follows
    bool equals = false;    // an "=" stood among the characters read
    qsizetype consumed = 0; // characters read (blanks before the number and "=" included)
};

// Reads the number that follows an occurrence ending just before the 0-based index `from`: blanks before
// it are skipped, "=" is noted and skipped wherever it stands, a sign only starts it, digits and points
// continue it; at most ten characters are read.
CalcNumberText ReadCalcNumber(QStringView text, qsizetype from);
// The same into `read`, its number written in the room it already has: a long run reads one per occurrence.
void ReadCalcNumberInto(QStringView text, qsizetype from, CalcNumberText &read);

// The new value's text: `oldValue` with the operator and operand applied, rounded to single precision
// and written in the settings' format. None when the result lies beyond single precision (the operand
// check rules that out).
std::optional<QString> CalcValueText(double oldValue, const CalcSettings &settings);
// The same text appended to `out`, with the operand's value read once by the caller
// (nc::ValueOfText(settings.operand)); false, and nothing appended, when there is none.
bool AppendCalcValue(QString &out, double oldValue, double operand, const CalcSettings &settings);

struct CalcOutcome
{
    bool changed = false;
    qsizetype writtenLength = 0; // the search text, "=" and the new value, when changed
};

// Rewrites the value after the selected occurrence of FindText in WorkText and in the target and counts
// the change; an occurrence without a number is left alone. FindStart is set one character past the start
// of the occurrence either way. WorkText must equal the target's text.
CalcOutcome CalcReplaceValue(SearchState &state, SearchTarget &target, const CalcSettings &settings);
