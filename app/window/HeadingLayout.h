#pragma once

#include <QRect>

// The heading row above the panes, in pixels: the file name (Label1), the result heading or notice
// (Label2), the change count, and the OK and Cancel buttons.
struct HeadingPlaces
{
    QRect label1;
    QRect notice;
    QRect count; // empty: no room for it
    QRect ok;
    QRect cancel;
};

// What the heading has to show: the width each text takes.
struct HeadingTexts
{
    int label1 = 0;
    int notice = 0;
    int count = 0;
};

// Moves what must move so that no text runs under another or under a button, at any width: the notice
// is kept whole, left of its place as far as the file name's text allows, and the buttons give way only
// when even that is not enough. The count goes after the notice, or before it, cut to the room there is.
// Where every text fits, the places stay exactly as given.
HeadingPlaces PlaceHeading(const HeadingPlaces &given, const HeadingTexts &texts, int gap);
