#pragma once

#include "nc/NcNumber.h"
#include "nc/NcScanState.h"

#include <QString>
#include <optional>

// The number texts of the OSP output. A variable handed to FV3 is left holding its rounded value, so a
// position kept afterwards is the one that was written.
namespace translator {

inline QString FV3(double &value)
{
    return nc::FormatValue3(value);
}

// A program number with at least four digits ("0012").
inline QString ProgramNumber(const QString &text)
{
    return nc::FormatText(text, u"000#");
}

// A position that has no value yet counts as 0 in arithmetic.
inline double ValueOf(const std::optional<double> &value)
{
    return value.value_or(0);
}

// The same texts appended to the output line with the address before them (" X" + FV3(x)), without a text
// made for each: nearly every word of every line goes through these. The text is the one FV3
// (nc::FormatValue3), nc::FormatValue3Of and nc::FormatDouble give, and a variable is left holding the same
// rounded value.
void AppendWord(QString &out, QStringView address, double &value);
// A position without a value writes the address alone.
void AppendWord(QString &out, QStringView address, std::optional<double> &value);
void AppendWordOf(QString &out, QStringView address, double value);
// A whole number through a pattern of "0" and "#" only, as nc::FormatDouble writes it.
void AppendWhole(QString &out, QStringView address, double value, QStringView pattern);

// A G code number with at least two digits: " G" and 1 give " G01".
inline void AppendCodeWord(QString &out, QStringView address, double g)
{
    AppendWhole(out, address, g, u"0#");
}

// Whether one of the lines of `output` (each ending with CR LF), outside parentheses and after its leading
// label ("N000", "NMAX", "NT01", "/N000"), holds an address without a value (a capital letter with no
// letter before it and a blank, a tab, "(" or the line end after it: "N000     X", "G01 Z F0") or a feed
// of zero ("F0" before a blank, "(" or the line end). Runs of letters (CALL, MODIN, SB=) are no address.
bool HoldsWordWithoutValue(QStringView output);

} // namespace translator
