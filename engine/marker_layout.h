#pragma once

// Where the experiment window's red boxes stand inside its ladder surface, in twips: the start
// mark above the third line, and the markers stacked in each landing column.

#include <array>

#include "geometry.h"

namespace tanabashigo::marker_layout {

/// Left edge of the markers of each landing column, columns 1..10 in order.
inline constexpr std::array<int, kLineCount> kColumnLeft{1419, 2160, 2880, 3624, 4359,
                                                         5094, 5829, 6564, 7299, 8040};
inline constexpr int kLowestTop = 6480;  ///< top of each column's first marker
inline constexpr int kPitch = 120;       ///< from one marker to the next one up
inline constexpr int kBox = 135;         ///< width and height of every red box
inline constexpr int kStartLeft = 2889;  ///< the start mark
inline constexpr int kStartTop = 480;

/// Top of marker `i` (1, the lowest, up to a column's capacity).
constexpr int markerTop(int i) {
    return kLowestTop - kPitch * (i - 1);
}

}  // namespace tanabashigo::marker_layout
