#include "app/window/MainLayout.h"

#include <algorithm>
#include <cmath>

MainLayout ComputeMainLayout(float width, float height)
{
    // Single precision, in the order the window has always computed them: the result pane copies the
    // source pane after it is placed.
    MainLayout layout;
    layout.lineRight = width;
    TwipsRect &source = layout.RichTextBox1;
    source.left = 40;
    source.top = 970;
    source.width = std::max(0.0f, width / 2.0f - 200.0f);
    source.height = std::max(0.0f, height - 1790.0f - 400.0f);
    layout.RichTextBox2 = {source.width + 100.0f, source.top, source.width, source.height};
    layout.Command1 = {width - 2650.0f, 550, 1100, 375};
    layout.Command2 = {width - 1450.0f, 550, 1100, 375};
    layout.Label1 = {80, 650, std::max(0.0f, source.width - 10.0f), 365};
    layout.Label2 = {source.width + 100.0f, 650, 5000, 365};
    return layout;
}

namespace {
// Far beyond any screen; keeps a garbage value from overflowing the pixel type.
constexpr double FarthestPixel = 1e8;

int ToPixels(float twips, double dpi)
{
    const double pixels = double(twips) * dpi / 1440.0;
    if (!(pixels == pixels))
        return 0; // not a number
    return int(std::lround(std::clamp(pixels, -FarthestPixel, FarthestPixel)));
}
float ToTwips(int pixels, double dpi)
{
    return float(pixels * 1440.0 / dpi);
}
} // namespace

int TwipsScale::ToPixelsX(float twips) const
{
    return ToPixels(twips, dpiX);
}
int TwipsScale::ToPixelsY(float twips) const
{
    return ToPixels(twips, dpiY);
}
float TwipsScale::ToTwipsX(int pixels) const
{
    return ToTwips(pixels, dpiX);
}
float TwipsScale::ToTwipsY(int pixels) const
{
    return ToTwips(pixels, dpiY);
}
