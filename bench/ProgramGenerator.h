#pragma once

#include <QString>

// Realistic NC programs of a given number of lines, for measuring the conversions on large inputs: a
// lathe program (FANUC turning: tool changes, canned cycles, constant surface speed, comments in
// Japanese) and a mill-turn program (3-D surface moves in XYZ with a C axis, incremental sections,
// expressions), both with N words, blank lines and CR LF line ends. The same seed gives the same text.
namespace bench {

QString GenerateLatheProgram(qsizetype lines, unsigned seed);
QString GenerateMillProgram(qsizetype lines, unsigned seed);

} // namespace bench
