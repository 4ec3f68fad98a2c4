#pragma once

#include <QString>

// The search and replace state shared by Find, Find next, Replace, the calculation replace and the
// line-end repair; it lives as long as the application.
struct SearchState
{
    QString FindText;
    QString ReplaceText;
    qsizetype FindStart = 0; // 0-based offset; the next search starts after this many characters
    float FindCount = 0;
    QString WorkText;
    bool FirstChange = false;
};
