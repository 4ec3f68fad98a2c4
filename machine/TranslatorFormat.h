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

inline QString FV3(std::optional<double> &value)
{
    return nc::FormatValue3(value);
}

inline QString FV3Of(double value)
{
    return nc::FormatValue3Of(value);
}

// A G code number with at least two digits: " G" + Code(1) gives " G01".
inline QString Code(double g)
{
    return nc::FormatDouble(g, u"0#");
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

} // namespace translator
