#pragma once

#include <numeric>

#include "geometry.h"

namespace tanabashigo {

/// The class's prediction before an experiment, by a show of hands: for each column 1..10,
/// how many pupils expect it to come most often. A plain value: the lesson takes it before
/// the first trial, the record keeps it with the experiment, and the views show it.
struct ClassPrediction {
    /// The most hands one column may have.
    static constexpr int kMostHands = 99;

    PerColumn<int> hands{};

    /// Every hand raised.
    int total() const { return std::accumulate(hands.begin(), hands.end(), 0); }
    /// No hand raised: there is no prediction.
    bool empty() const { return total() == 0; }
    /// The hands of `other` added, column by column, to pool several experiments' predictions.
    ClassPrediction& operator+=(const ClassPrediction& other) {
        for (int column = 1; column <= kLineCount; ++column) {
            hands[column] += other.hands[column];
        }
        return *this;
    }
    bool operator==(const ClassPrediction&) const = default;
};

}  // namespace tanabashigo
