#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The scanner's record for one program line. Positions are 1-based like the line's columns: `Pos` is the
// character the conversion is looking at, and each routine reads from `Pos + 1` and leaves `Pos` on the
// last character it consumed.
struct NcScanState
{
    QString Line;
    qsizetype LineLength = 0;
    qsizetype Pos = 0;
    QString Token;

    QChar CharAt(qsizetype pos) const { return Line.at(pos - 1); }

    // Reads the run of numeric characters ("+" through "9": sign, comma, point, slash, digits).
    void ReadNumber();
    // Reads up to the next blank; once a numeric character has been read, the first other one ends it.
    void ReadWordValue();
    // Reads an arithmetic expression and evaluates it left to right in single precision; `Token` gets the
    // plain text of the result, or stays empty when there was no operand to apply last. Returns the value
    // that text reads as (nc::ValueOfText(Token)), 0 when it is empty, without reading it again.
    double ReadExpression();
    // The value ReadExpression gives, for a reader that needs no text of it: false, and `value` untouched,
    // when there was no operand. A plain number of a few digits, the usual word, is read from its digits
    // without writing `Token`, which is then left as it was.
    bool ReadExpressionValue(double &value);

private:
    // `Token` becomes `length` characters of `Line` from the 1-based position `first`.
    void SetToken(qsizetype first, qsizetype length);
};

namespace nc {

// "+" through "9": the sign, comma, minus, point, slash and the digits.
inline bool IsNumericChar(QChar c)
{
    return c.unicode() >= u'+' && c.unicode() <= u'9';
}

inline bool IsBlank(QChar c)
{
    return c.unicode() == u' ' || c.unicode() == u'\t';
}

inline bool IsAddressLetter(QChar c)
{
    return c.unicode() >= u'A' && c.unicode() <= u'Z';
}

// The NC text of a value rounded to 3 (4) decimals in its shortest form: "12", "12.346", "0.5", "-0.04",
// "0". The argument is left holding the rounded intermediate text ("12."), as a variable handed in is
// read again by some callers. An empty text gives the empty text; a text that does not read wholly as a
// number comes back unchanged.
QString FormatValue3(QString &value);
QString FormatValue4(QString &value);
// A number variable is left holding its rounded value.
QString FormatValue3(double &value);
QString FormatValue4(double &value);
// A variable that may have no value: no value gives the empty text and stays without value.
QString FormatValue3(std::optional<double> &value);
// The NC text of a value that is not kept in a variable (an expression such as X + 2 * R).
QString FormatValue3Of(double value);
// The same text appended to `out`: the usual values are written from plain double arithmetic, where that
// provably rounds as the decimal form does (see RoundedUnits), the others by FormatValue3Of.
void AppendValue3Of(QString &out, double value);

// The magnitude of `value` times `scale` (1 or 1000) rounded half away from zero as its 15-digit decimal
// form rounds, taken with plain double arithmetic; false when only the decimal form can tell (a value near
// a half, 10^9 units or more, no finite value).
bool RoundedUnits(double value, double scale, std::uint64_t &units);
// The shortest text of a value that rounds to `units` thousandths ("12", "12.3", "-0.04", "0": zero has
// no sign) written at `out`, which has room for 32 characters; returns its length.
int ThousandthsText(bool negative, std::uint64_t units, char16_t *out);
QString FormatValue4Of(double value);

// The thousandths of a single-precision value's 7-digit decimal form rounded half away from zero to three
// places (what FormatValue3 makes of the value's plain text, and FormatSingle with "0.###"), taken with
// plain arithmetic; false when only the decimal form can tell: a scaled value near a half, a magnitude
// of 10^6 or more or below 0.001 (zero is exact), no finite value. `negative` is the value's sign.
bool SingleThousandths(float value, bool &negative, std::uint64_t &units);
// The shortest NC text of those thousandths ("12", "0.5", "-0.04", "0") appended to `out`; false, and
// nothing appended, when SingleThousandths cannot tell.
bool AppendSingleThousandths(QString &out, float value);
// The same text for every value: FormatValue3 of FormatSingle(value, "0.###") where SingleThousandths
// cannot tell.
void AppendSingle3(QString &out, float value);

} // namespace nc
