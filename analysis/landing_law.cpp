#include "landing_law.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

#include "rung_slots.h"

namespace tanabashigo {

namespace {

using Count = double;

/// Binomial coefficients C(n, k) for n, k in 0..kSlotCount, as exact as a double allows.
class Binomials {
public:
    Binomials() {
        for (int n = 0; n <= kSlotCount; ++n) {
            table_[n][0] = 1;
            for (int k = 1; k <= n; ++k) {
                table_[n][k] = table_[n - 1][k - 1] + (k < n ? table_[n - 1][k] : 0);
            }
        }
    }
    Count operator()(int n, int k) const { return k < 0 || k > n ? 0 : table_[n][k]; }

private:
    std::array<std::array<Count, kSlotCount + 1>, kSlotCount + 1> table_{};
};

const Binomials& binomials() {
    static const Binomials table;
    return table;
}

/// The gap (left line x) beside line x at a height whose gaps have parity `gapParity`, or 0.
int gapTouching(int x, int gapParity) {
    const int gap = x % 2 == gapParity ? x : x - 1;
    return gap >= kFirstGap && gap <= kLastGap ? gap : 0;
}

}  // namespace

// Walks the 50 heights from the top. ways[line][k] counts the sets of k slots among the
// heights passed so far that bring the path to that line. At one height the path moves only
// when the single gap beside its line holds a rung, whatever the other gaps of that height.
std::vector<ColumnLaw> exactLandingLaws(int start, int maxRungs) {
    assert(start >= 1 && start <= kLineCount && maxRungs >= 0 && maxRungs <= kSlotCount);
    const Binomials& choose = binomials();
    // Only counts of up to maxRungs slots are kept: one row of them per line, two tables.
    const auto width = static_cast<std::size_t>(maxRungs) + 1;
    std::vector<Count> ways((kLineCount + 1) * width);
    std::vector<Count> next(ways.size());
    const auto cell = [width](std::vector<Count>& table, int line, int k) -> Count& {
        return table[static_cast<std::size_t>(line) * width + static_cast<std::size_t>(k)];
    };
    cell(ways, start, 0) = 1;
    int slotsSoFar = 0;
    for (int y = kTopY + 1; y < kBottomY; ++y) {
        const int gapParity = oddGapsAt(y) ? 1 : 0;
        const int gapsHere = gapsAt(y);
        std::fill(next.begin(), next.end(), Count{0});
        for (int line = 1; line <= kLineCount; ++line) {
            const int gap = gapTouching(lineX(line), gapParity);
            const int across = gap == 0 ? line : (gap == lineX(line) ? line + 1 : line - 1);
            for (int k = 0; k <= std::min(slotsSoFar, maxRungs); ++k) {
                const Count w = cell(ways, line, k);
                if (w == 0) {
                    continue;
                }
                for (int j = 0; j <= gapsHere && k + j <= maxRungs; ++j) {
                    if (gap == 0) {
                        cell(next, line, k + j) += w * choose(gapsHere, j);
                    } else {
                        cell(next, line, k + j) += w * choose(gapsHere - 1, j);
                        cell(next, across, k + j) += w * choose(gapsHere - 1, j - 1);
                    }
                }
            }
        }
        ways.swap(next);
        slotsSoFar += gapsHere;
    }
    std::vector<ColumnLaw> laws(maxRungs + 1);
    for (int rungs = 0; rungs <= maxRungs; ++rungs) {
        const Count ladders = choose(kSlotCount, rungs);
        for (int line = 1; line <= kLineCount; ++line) {
            laws[rungs][line] = static_cast<double>(cell(ways, line, rungs) / ladders);
        }
    }
    return laws;
}

ColumnLaw exactLandingLaw(int rungs, int start) {
    return exactLandingLaws(start, rungs).back();
}

std::vector<LawsByStart> exactLawsOfEveryStart() {
    std::vector<LawsByStart> laws(kSlotCount + 1);
    for (int start = 1; start <= kLineCount; ++start) {
        const std::vector<ColumnLaw> fromStart = exactLandingLaws(start);
        for (int rungs = 0; rungs <= kSlotCount; ++rungs) {
            laws[static_cast<std::size_t>(rungs)][start] =
                fromStart[static_cast<std::size_t>(rungs)];
        }
    }
    return laws;
}

bool isNearlyFair(const ColumnLaw& law) {
    return std::all_of(law.begin(), law.end(),
                       [](double chance) { return std::abs(chance - 0.1) <= kNearlyFairGap; });
}

}  // namespace tanabashigo
