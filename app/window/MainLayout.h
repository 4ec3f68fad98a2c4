#pragma once

// Where the main window's controls go, in twips (1/1440 inch), from the window's outer size.
struct TwipsRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct MainLayout
{
    float lineRight = 0; // right end of the rules Line1 and Line2
    TwipsRect RichTextBox1;
    TwipsRect RichTextBox2;
    TwipsRect Command1;
    TwipsRect Command2;
    TwipsRect Label1;
    TwipsRect Label2;
};

// Both panes share the width equally. In a window too small for the panes their width or height is 0
// rather than negative.
MainLayout ComputeMainLayout(float width, float height);

// Twips and pixels at the screen's logical resolution.
struct TwipsScale
{
    double dpiX = 96;
    double dpiY = 96;

    int ToPixelsX(float twips) const;
    int ToPixelsY(float twips) const;
    float ToTwipsX(int pixels) const;
    float ToTwipsY(int pixels) const;
};
