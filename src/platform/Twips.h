#pragma once

#include <QRect>
#include <QSize>

#include <cmath>

// The window designs are measured in twips: 1440 to the inch, so 15 to a pixel at 96 dpi.
namespace Twips {
inline constexpr int PerPixel = 15;

constexpr int toPixels(double twips)
{
    return int(std::lround(twips / PerPixel));
}

constexpr double fromPixels(int pixels)
{
    return double(pixels) * PerPixel;
}

constexpr QSize size(int width, int height)
{
    return {toPixels(width), toPixels(height)};
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}
}
