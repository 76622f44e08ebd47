#pragma once

#include <QRect>
#include <cmath>

// The windows are designed in twips: 1/1440 inch, 15 to a logical pixel.
namespace ui {

inline constexpr int kTwipsPerPixel = 15;

// Converts a twip measure to logical pixels, rounding half away from zero.
constexpr int px(int twips)
{
    const int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

// A design rectangle (left, top, width, height in twips) in logical pixels.
// Width and height follow from the rounded edges, so neighbours that touch
// in twips touch on screen too.
inline QRect pxRect(int left, int top, int width, int height)
{
    const int x = px(left);
    const int y = px(top);
    return QRect(x, y, px(left + width) - x, px(top + height) - y);
}

constexpr int twips(int pixels) { return pixels * kTwipsPerPixel; }

} // namespace ui
