#pragma once
#include <QRect>
#include <cmath>

// Screen geometry is designed in twips for a 15360 × 11520 screen: 15 twips
// to a pixel at 1024 × 768.
constexpr int kTwipsPerPixel = 15;
inline int tw(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
inline QRect twRect(double left, double top, double width, double height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
