#pragma once

#include <QString>

// A message for the user: the text and the title of its box (OK button only, no icon).
struct SearchMessage
{
    QString text;
    QString title;

    bool operator==(const SearchMessage &) const = default;
};
