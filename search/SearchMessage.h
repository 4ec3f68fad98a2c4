#pragma once

#include <QString>

// A message for the user: the text and the title of its box (OK button only, no icon).
struct SearchMessage
{
    QString text;
    QString title;

    bool operator==(const SearchMessage &) const = default;
};

// How a run that always ends ("全て変更", the line-end repair) ended: its message and the count the
// message reports (a count left by an unfinished run included).
struct RunEnd
{
    SearchMessage message;
    qint64 count = 0;
    bool ran = true; // false when the run was refused before it began, and nothing changed
};
