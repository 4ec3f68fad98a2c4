#pragma once

#include <QString>

// The search and replace state shared by Find, Find next, Replace, the calculation replace and the
// line-end repair; it lives as long as the application.
struct SearchState
{
    QString FindText;
    QString ReplaceText;
    qsizetype FindStart = 0; // 0-based offset; the next search starts after this many characters
    // Hits or changes of the current run. A whole number wide enough that a run over a program of a
    // million lines counts every change (a single-precision count would stop at 16,777,216).
    qint64 FindCount = 0;
    QString WorkText;
    bool FirstChange = false;
    int CalcFormat = 0; // output format of the calculation replace, 1 to 4, set by its buttons
};
