#pragma once

#include "geometry.h"

namespace tanabashigo {

/// What a landing did to the tally.
struct Landing {
    enum class Kind {
        Counted,       ///< the column's counter went up; show marker `marker`
        ColumnWasFull  ///< the column already held its markers: the experiment is finished
    };
    Kind kind = Kind::Counted;
    int column = 0;  ///< 1..10
    int marker = 0;  ///< the marker index to show, 1..20 (Counted only)
    bool operator==(const Landing&) const = default;
};

/// Landings counted per column, `Tally`(1..10).
class Tally {
public:
    static constexpr int kColumnCapacity = 20;

    /// All ten counters back to 0.
    void clear() { counts_ = {}; }
    /// Counts a landing in column 1..10, unless that column is already full.
    Landing record(int column);
    /// The counter of column 1..10.
    int operator()(int column) const { return counts_[column]; }
    /// Landings counted over all columns.
    int total() const;

private:
    PerColumn<Int16> counts_{};
};

}  // namespace tanabashigo
