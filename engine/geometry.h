#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tanabashigo {

/// Every counter of the experiment is a 16-bit signed integer.
using Int16 = std::int16_t;

/// Rung slots of the ladder: 5 even gaps at 25 odd heights and 4 odd gaps at 25 even heights.
inline constexpr int kSlotCount = 225;

/// A state array with room for one entry per rung slot, used from index 1 upward.
using Int16Array = std::array<Int16, kSlotCount + 1>;

/// Ladder units: lines stand at x = k + 1 and run from y = 10 down to y = 61.
inline constexpr int kLineCount = 10;
inline constexpr int kTopY = 10;
inline constexpr int kBottomY = 61;

/// The accepted range of rungs per ladder.
inline constexpr int kMinRungs = 10;
inline constexpr int kMaxRungs = 50;

/// One value per landing column, indexed by the column number 1..10 as the window shows it.
template <class T>
class PerColumn {
public:
    /// The value of column 1..10.
    T& operator[](int column) { return values_[static_cast<std::size_t>(column - 1)]; }
    const T& operator[](int column) const { return values_[static_cast<std::size_t>(column - 1)]; }
    /// Columns 1..10 in order.
    auto begin() { return values_.begin(); }
    auto end() { return values_.end(); }
    auto begin() const { return values_.begin(); }
    auto end() const { return values_.end(); }
    bool operator==(const PerColumn&) const = default;

private:
    std::array<T, kLineCount> values_{};
};

/// Landings counted per column.
using ColumnCounts = PerColumn<std::uint64_t>;

/// x of ladder line k (1..10).
constexpr int lineX(int k) {
    return k + 1;
}

/// Landing column (1..10) of the line standing at x.
constexpr int columnOfX(int x) {
    return x - 1;
}

/// A straight line between two points in ladder units.
struct Segment {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const Segment&) const = default;
};

/// Vertical line k (1..10) from the top of the ladder to its bottom.
constexpr Segment verticalLine(int k) {
    return {lineX(k), kTopY, lineX(k), kBottomY};
}

/// The ten vertical lines of the empty ladder, left to right.
constexpr std::array<Segment, kLineCount> emptyLadder() {
    std::array<Segment, kLineCount> lines{};
    for (int k = 1; k <= kLineCount; ++k) {
        lines[k - 1] = verticalLine(k);
    }
    return lines;
}

}  // namespace tanabashigo
