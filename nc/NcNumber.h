#pragma once

#include <QString>
#include <QStringView>

// Number texts as NC programs write them: the value of a text, the plain text of a number and the
// display patterns ("##00", "#####0.###", ...). Every routine is locale-free.
namespace nc {

// The value of a text: blanks and tabs are skipped wherever they stand; an optional sign, digits with at
// most one decimal point and an optional exponent are read; reading stops at the first character that
// cannot continue the number. A text without digits is 0. A magnitude beyond the double range is 0.
double ValueOfText(QStringView text);

// True when the whole text is one number: optional blanks, sign, digits with at most one point (at least
// one digit), an optional exponent, optional blanks. "1,000", "1-2", "+", "." and "" are not.
bool ReadsWhollyAsNumber(QStringView text);

// The plain text of a number: a leading blank when not negative, no zero before the point, no trailing
// zeros or point; 15 significant digits for a double, 7 for a single, exponent form from 10^15 (10^7).
QString PlainText(double value);
QString PlainTextSingle(float value);
// The same written into `text`, in the room it already has: the scanner writes one for every word. Returns
// the value the text reads as (ValueOfText of it), taken from its digits without reading it.
double PlainTextSingleInto(float value, QString &text);

// Applies a display pattern of "0" (digit always written), "#" (digit written when significant) and "."
// (always written when present). The value is rounded half away from zero on its decimal form: a double
// taken at 15 significant digits, a single at 7. A value that rounds to zero has no sign.
QString FormatDouble(double value, QStringView pattern);
QString FormatSingle(float value, QStringView pattern);
// The same written into `text`, in the room it already has: the passes format a number for every word.
void FormatSingleInto(float value, QStringView pattern, QString &text);

// A display pattern read once, for formatting many values through it.
struct NumberPattern
{
    int minInteger = 0;
    bool hasPoint = false;
    int minFraction = 0;
    int maxFraction = 0;

    static NumberPattern Of(QStringView pattern);
};

// A text that reads wholly as a number is formatted by its value; any other text comes back unchanged.
QString FormatText(QStringView text, QStringView pattern);
// The same written into `formatted` (not the text itself), in the room it already has.
void FormatTextInto(QStringView text, QStringView pattern, QString &formatted);
void FormatTextInto(QStringView text, const NumberPattern &pattern, QString &formatted);

// The value rounded half away from zero to `places` decimals on its 15-digit decimal form.
double RoundDouble(double value, int places);

} // namespace nc
