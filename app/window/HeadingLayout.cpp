#include "app/window/HeadingLayout.h"

#include <algorithm>

namespace {

// The notice keeps its place where it fits before the OK button; otherwise it moves left, not past the
// end of the file name's text; where even that is not enough, the buttons move right.
void PlaceNotice(HeadingPlaces &places, const HeadingTexts &texts, int gap)
{
    const int limit = places.ok.left() - gap;
    if (places.notice.left() + texts.notice <= limit)
        return;
    const int leftmost = places.label1.left() + texts.label1 + gap;
    const int left = std::max(leftmost, std::min(places.notice.left(), limit - texts.notice));
    places.notice = QRect(left, places.notice.top(), texts.notice, places.notice.height());
    const int overrun = left + texts.notice + gap - places.ok.left();
    if (overrun > 0) {
        places.ok.translate(overrun, 0);
        places.cancel.translate(overrun, 0);
    }
    places.label1.setWidth(std::clamp(left - gap - places.label1.left(), 0, places.label1.width()));
}

void PlaceCount(HeadingPlaces &places, const HeadingTexts &texts, int gap)
{
    places.count = QRect();
    if (texts.count <= 0)
        return;
    const int top = places.notice.top();
    const int height = places.notice.height();
    const int after = places.notice.left() + texts.notice + gap;
    if (after + texts.count <= places.ok.left() - gap) {
        places.count = QRect(after, top, texts.count, height);
        return;
    }
    const int right = places.notice.left() - gap;
    const int left = std::max(right - texts.count, places.label1.left() + texts.label1 + gap);
    // A count cut to less than a third is no longer read as one.
    if (right - left < texts.count / 3)
        return;
    places.count = QRect(left, top, right - left, height);
    places.label1.setWidth(std::clamp(left - gap - places.label1.left(), 0, places.label1.width()));
}

} // namespace

HeadingPlaces PlaceHeading(const HeadingPlaces &given, const HeadingTexts &texts, int gap)
{
    HeadingPlaces places = given;
    PlaceNotice(places, texts, gap);
    PlaceCount(places, texts, gap);
    return places;
}
