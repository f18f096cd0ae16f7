#pragma once

#include <QRect>
#include <QtMath>
#include <algorithm>

namespace tanabashigo {

/// Layout is given in twips: 1440 to the inch, 15 to a logical pixel at 96 dpi.
inline constexpr double kTwipsPerPixel = 15.0;

/// The factor every layout length, font and line is scaled by; 1 is the design size.
inline double& layoutZoomFactor() {
    static double factor = 1.0;
    return factor;
}
/// Sets the zoom factor (1..4) before any window is built.
inline void setLayoutZoom(double factor) {
    layoutZoomFactor() = factor;
}
inline double layoutZoom() {
    return layoutZoomFactor();
}

/// A length in twips as logical pixels at the zoom factor, rounded to the nearest pixel.
inline int twips(double value) {
    return qRound(value * layoutZoom() / kTwipsPerPixel);
}

/// A rectangle given in twips (left, top, width, height) as logical pixels. Width and height
/// are rounded on their own, so equal sizes stay equal wherever they stand.
inline QRect twipsRect(double left, double top, double width, double height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

/// The width of a drawn line at the zoom factor: a whole number of pixels, at least one.
inline int strokeWidth() {
    return std::max(1, qRound(layoutZoom()));
}

}  // namespace tanabashigo
