#pragma once

#include <QString>
#include <ostream>

// Failures show texts as text, with CR and LF visible.
inline void PrintTo(const QString &text, std::ostream *os)
{
    QString shown = text;
    shown.replace(u"\r"_qs, u"\\r"_qs).replace(u"\n"_qs, u"\\n"_qs).replace(u"\t"_qs, u"\\t"_qs);
    *os << '"' << shown.toStdString() << '"';
}
