#pragma once

#include <QString>

// Realistic NC programs of a given number of lines, for measuring the conversions on large inputs: a
// lathe program (FANUC turning: tool changes, canned cycles, constant surface speed, comments in
// Japanese) and a mill-turn program (3-D surface moves in XYZ with a C axis, incremental sections,
// expressions), both with N words, blank lines and CR LF line ends, and a finishing contour (every line a
// sequence number, three-decimal X and Z and a feed; a comment, a rapid, a tool change or a dwell every
// few dozen lines), the kind of program that is all numbers. The same seed gives the same text.
namespace bench {

QString GenerateLatheProgram(qsizetype lines, unsigned seed);
QString GenerateMillProgram(qsizetype lines, unsigned seed);
QString GenerateFinishingProgram(qsizetype lines, unsigned seed);
// A lathe program of roughing cycles: G71 (every third a G73) over a profile that follows it, then G70.
QString GenerateCycleProgram(qsizetype lines);

} // namespace bench
