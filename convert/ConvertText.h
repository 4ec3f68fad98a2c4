#pragma once

#include <QString>
#include <QStringView>

// Small text steps that more than one conversion shares.
namespace convert {

// The NC text (at most 3 decimals, shortest form) of a value held in single precision: it is rounded on
// its 7-digit decimal form, as a single-precision position is, not on the longer form of the double it
// widens to (1.0005f gives "1.001").
QString FormatValue3Single(float value);

// Puts the first occurrence of `word` in brackets ("G91" becomes "(G91)"), wherever it stands, so that a
// mode word the conversion has made meaningless stays visible as a comment.
void BracketFirst(QString &line, QStringView word);

} // namespace convert
