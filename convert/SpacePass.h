#pragma once

#include <QString>
#include <memory>

class ConversionPass;

// The three ways the blanks between words are rewritten; the values are the dialog's option indexes.
enum class SpaceMode
{
    AddBlank = 0,       // one blank after every word
    SequenceNumber = 1, // the sequence word "N000" on every block, and one blank after every word
    RemoveBlanks = 2,   // no blank at all outside comments
};

// Rewrites the blanks between the words of every line of `source`.
QString ConvertSpace(const QString &source, SpaceMode mode);
// The same pass, for a program handed over in pieces.
std::unique_ptr<ConversionPass> SpaceConversion(SpaceMode mode);
