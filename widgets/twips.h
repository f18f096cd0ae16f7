#pragma once

#include <QRect>
#include <QtMath>

namespace tanabashigo {

/// Layout is given in twips: 1440 to the inch, 15 to a logical pixel at 96 dpi.
inline constexpr double kTwipsPerPixel = 15.0;

/// A length in twips as logical pixels, rounded to the nearest pixel.
inline int twips(double value) {
    return qRound(value / kTwipsPerPixel);
}

/// A rectangle given in twips (left, top, width, height) as logical pixels.
inline QRect twipsRect(double left, double top, double width, double height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

}  // namespace tanabashigo
