#pragma once

#include "toolpath/ToolPath.h"

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A path written as text a test can hold: one entry per segment, "F 20,5>20,-20" (kind, then x,z of its
// start and end on a lathe, x,y on a mill), an arc's centre after "@", a cycle marker as "M" and its end.
inline QString Coordinates(const toolpath::ToolPath &path, const toolpath::Point3 &p)
{
    const auto n = [](double v) { return QString::number(std::abs(v) < 5e-10 ? 0.0 : v, 'g', 8); };
    return path.PlotsXz() ? n(p.x) + u',' + n(p.z) : n(p.x) + u',' + n(p.y);
}

inline QString Describe(const toolpath::ToolPath &path)
{
    using toolpath::SegmentKind;
    QStringList out;
    for (const toolpath::Segment &s : path.segments) {
        switch (s.kind) {
        case SegmentKind::Cycle:
            out << u"M "_qs + Coordinates(path, s.end);
            continue;
        case SegmentKind::Rapid:
            out << u"R "_qs + Coordinates(path, s.start) + u'>' + Coordinates(path, s.end);
            continue;
        case SegmentKind::Feed:
            out << u"F "_qs + Coordinates(path, s.start) + u'>' + Coordinates(path, s.end);
            continue;
        case SegmentKind::ArcCw:
        case SegmentKind::ArcCcw:
            out << (s.kind == SegmentKind::ArcCw ? u"C "_qs : u"A "_qs) + Coordinates(path, s.start) + u'>' +
                       Coordinates(path, s.end) + u'@' + Coordinates(path, s.centre);
            continue;
        }
    }
    return out.join(u"; ");
}

// The program text with CR LF line ends from lines written with "|" between them.
inline QString Program(const char16_t *lines)
{
    return QString::fromUtf16(lines).replace(u'|', QStringLiteral("\r\n"));
}
