#include "tally.h"

#include <numeric>

namespace tanabashigo {

Landing Tally::record(int column) {
    if (counts_[column] >= kColumnCapacity) {
        return {Landing::Kind::ColumnWasFull, column, 0};
    }
    ++counts_[column];
    return {Landing::Kind::Counted, column, counts_[column]};
}

int Tally::total() const {
    return std::accumulate(counts_.begin(), counts_.end(), 0);
}

}  // namespace tanabashigo
