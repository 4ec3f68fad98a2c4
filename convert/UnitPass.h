#pragma once

#include <QString>
#include <memory>

class ConversionPass;

// The six unit changes; the values are the dialog's option indexes. "um" is 0.001 mm, "10um" 0.01 mm.
enum class UnitOption
{
    UmToMm = 0,
    TenUmToMm = 1,
    InchToMm = 2,
    MmToInch = 3,
    MmToUm = 4,
    MmToTenUm = 5,
};

// Rescales the word values of every line of `source` from one unit to another. Lengths follow the option's
// factor; E values also depend on the dwell and the feed mode; S values change only between inch and mm
// under constant surface speed. The arithmetic is single precision.
QString ConvertUnit(const QString &source, UnitOption option);
// The same pass, for a program handed over in pieces.
std::unique_ptr<ConversionPass> UnitConversion(UnitOption option);
