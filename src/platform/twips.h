#pragma once
#include <QPoint>
#include <QRect>
#include <cmath>

namespace terravale {

// 15 twips make one logical pixel (1440 twips an inch at 96 dpi).
constexpr double kTwipsPerPixel = 15.0;

constexpr int px(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
constexpr double twips(int pixels) { return pixels * kTwipsPerPixel; }

inline QRect twipRect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline QPoint twipPoint(double left, double top) { return QPoint(px(left), px(top)); }

} // namespace terravale
