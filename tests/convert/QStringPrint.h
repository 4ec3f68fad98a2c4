#pragma once

#include <QString>
#include <ostream>

// Failures show texts as text, line ends made visible, instead of as arrays of code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    QString shown = text;
    shown.replace(u"\r"_qs, u"\\r"_qs).replace(u"\n"_qs, u"\\n"_qs);
    *out << '"' << shown.toStdString() << '"';
}
