#pragma once

#include <QString>
#include <memory>

class ConversionPass;

// How the values of the dimension words are written; the values are the dialog's option indexes.
enum class PointMode
{
    Point = 0,     // "#####0.####": a whole number keeps a bare point (10.)
    PointZero = 1, // "#####0.0###": at least one decimal (10.0)
    Remove = 2,    // the NC form without a needless point (10, 0.5)
};

// Rewrites the value of every dimension word of `source` with or without a decimal point.
QString ConvertPointAdd(const QString &source, PointMode mode);
// The same pass, for a program handed over in pieces.
std::unique_ptr<ConversionPass> PointAddConversion(PointMode mode);
