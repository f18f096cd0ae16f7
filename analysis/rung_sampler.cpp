#include "rung_sampler.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "rung_slots.h"

namespace tanabashigo {

namespace {

/// Toggles `count` (at least 1) distinct slots of one ladder, bit `shift` of `column[2 * s]`
/// for slot s: empty slots to taken when placing, taken ones to empty when not. A byte draws a
/// slot, and a slot already as wanted is drawn again, so the slots changed are a uniform set;
/// the words of bytes 225..255, which name no slot, hold the bit as wanted.
template <bool place>
inline void toggleSlots(std::uint64_t* column, int shift, int count, FastRandom& random) {
    const std::uint64_t bit = std::uint64_t{1} << shift;
    for (int left = count;;) {
        std::uint64_t draws = random.next();
        for (int k = 0; k < 8; ++k, draws >>= 8) {
            std::uint64_t& word = column[2 * (draws & 0xFF)];
            const std::uint64_t hit = (place ? ~word : word) & bit;
            word ^= hit;
            left -= static_cast<int>(hit >> shift);
            if (left == 0) {
                return;
            }
        }
    }
}

/// Brings each of ladders 0..ladders - 1 of `slots` (as RungSampler keeps them) from its
/// `taken` slots to `rungs`, if it has fewer when placing, more when not.
template <bool place>
void toggleLadders(std::array<std::uint64_t, 2 * 256>& slots, int rungs,
                   const std::array<std::uint8_t, RungSampler::kLadders>& taken, int ladders,
                   FastRandom& random) {
    std::fill(slots.begin() + 2 * kSlotCount, slots.end(), place ? ~std::uint64_t{0} : 0);
    for (int ladder = 0; ladder < ladders; ++ladder) {
        const int have = taken[static_cast<std::size_t>(ladder)];
        const int count = place ? rungs - have : have - rungs;
        if (count > 0) {
            toggleSlots<place>(slots.data() + ladder / 64, ladder % 64, count, random);
        }
    }
}

/// The two words of a slot as one vector, and back.
template <class Lanes>
inline Lanes loadLanes(const std::uint64_t* words) {
    Lanes lanes;
    std::memcpy(&lanes, words, sizeof lanes);
    return lanes;
}
template <class Lanes>
inline void storeLanes(std::uint64_t* words, Lanes lanes) {
    std::memcpy(words, &lanes, sizeof lanes);
}

/// Bit i of byte j of the answer is bit j of byte i of `rows`.
constexpr std::uint64_t transpose8x8(std::uint64_t rows) {
    std::uint64_t t = (rows ^ (rows >> 7)) & 0x00AA00AA00AA00AAu;
    rows ^= t ^ (t << 7);
    t = (rows ^ (rows >> 14)) & 0x0000CCCC0000CCCCu;
    rows ^= t ^ (t << 14);
    t = (rows ^ (rows >> 28)) & 0x00000000F0F0F0F0u;
    return rows ^ t ^ (t << 28);
}

/// Where a rung stands between two lines, the paths on them change places.
template <class Lanes>
inline void crossRungs(Lanes& left, Lanes& right, const Lanes& rungs) {
    const Lanes moving = (left ^ right) & rungs;
    left ^= moving;
    right ^= moving;
}

static_assert(rungHeight(kFirstGap, 0) < rungHeight(kFirstGap + 1, 0),
              "a step's even gaps stand above its odd ones");

/// Crosses the rungs of gaps `gaps...` at one height; `step` holds the step's slots in order.
template <class Lanes, int... gaps>
inline void crossHeight(Lanes* lines, const std::uint64_t* step,
                        std::integer_sequence<int, gaps...>) {
    (crossRungs(lines[gaps], lines[gaps + 1], loadLanes<Lanes>(step + 2 * (gaps - kFirstGap))),
     ...);
}

/// The chance of each number of slots 0..225 taken when each is taken with chance p (0..1),
/// by ratios from the most likely number: plain arithmetic, the same on every platform.
std::vector<double> binomialChances(double p) {
    std::vector<double> chance(kSlotCount + 1, 0.0);
    const int mode = std::min(kSlotCount, static_cast<int>((kSlotCount + 1) * p));
    chance[mode] = 1;
    for (int k = mode; k < kSlotCount && p < 1; ++k) {
        chance[k + 1] = chance[k] * (kSlotCount - k) / (k + 1) * p / (1 - p);
    }
    for (int k = mode; k > 0 && p > 0; --k) {
        chance[k - 1] = chance[k] * k / (kSlotCount - k + 1) * (1 - p) / p;
    }
    double sum = 0;
    for (const double c : chance) {
        sum += c;
    }
    for (double& c : chance) {
        c /= sum;
    }
    return chance;
}

// The work of a plan in bytes drawn: measured on the project's machine, one random word for
// the first step costs about what a byte drawn does, counting every ladder's slots and the
// turn of each ladder's drawing about what five do.
constexpr double kWordCost = 1.0;
constexpr double kCountCost = 3.0;
constexpr double kLadderCost = 5.0;

double expectedWork(SamplerPlan plan, int rungs) {
    const double p = plan.taken / static_cast<double>(1 << plan.bits);
    const std::vector<double> chance = binomialChances(p);
    double work = plan.bits > 0 ? kWordCost * kSlotCount * plan.bits / 64 + kCountCost : 0;
    // The expected bytes drawn to reach `rungs` from k taken slots, k going away from
    // `rungs`: a slot placed among k taken costs 256 / (225 - k) draws, one removed 256 / k.
    double draws = 0;
    for (int k = rungs - 1; k >= 0; --k) {
        draws += 256.0 / (kSlotCount - k);
        work += chance[k] * (kLadderCost + draws);
    }
    draws = 0;
    for (int k = rungs + 1; k <= kSlotCount; ++k) {
        draws += 256.0 / k;
        work += chance[k] * (kLadderCost + draws);
    }
    return work;
}

/// The plan with the least expected work for `rungs` rungs, worked out.
SamplerPlan leastWorkPlan(int rungs) {
    // Today's drawing alone: from no rung, or past half the slots from every slot.
    SamplerPlan best{0, 2 * rungs <= kSlotCount ? 0 : 1};
    double least = expectedWork(best, rungs);
    for (int bits = 1; bits <= 6; ++bits) {
        const int near = rungs * (1 << bits) / kSlotCount;
        for (int taken = std::max(1, near); taken <= std::min(near + 1, (1 << bits) - 1); ++taken) {
            const SamplerPlan plan{bits, taken};
            const double work = taken % 2 == 1 ? expectedWork(plan, rungs) : least;
            if (work < least) {
                best = plan;
                least = work;
            }
        }
    }
    return best;
}

}  // namespace

SamplerPlan fastestPlan(int rungs) {
    // Worked out once for every rung count: a sampler is made for each block of trials.
    static const std::array<SamplerPlan, kSlotCount + 1> plans = [] {
        std::array<SamplerPlan, kSlotCount + 1> all{};
        for (int r = 0; r <= kSlotCount; ++r) {
            all[static_cast<std::size_t>(r)] = leastWorkPlan(r);
        }
        return all;
    }();
    return plans[static_cast<std::size_t>(std::clamp(rungs, 0, kSlotCount))];
}

RungSampler::RungSampler(int rungs, SamplerPlan plan) : rungs_(rungs), plan_(plan) {
    // taken / 2^bits in lowest terms: no random word is spent on a bit that changes nothing.
    while (plan_.bits > 0 && plan_.taken % 2 == 0) {
        plan_.taken /= 2;
        --plan_.bits;
    }
}

std::array<std::uint8_t, RungSampler::kLadders> RungSampler::takeSlots(FastRandom& shared) {
    // The generator is copied in and out around each loop that stores slots: a copy whose
    // address is never taken stays in registers, where stores into slots_ would otherwise
    // oblige the compiler to keep it in memory.
    FastRandom random = shared;
    // Each ladder's count, kept bit-sliced: bit l of counter[i] is bit i of ladder l's count.
    std::array<Lanes, 8> counter{};
    for (int s = 0; s < kSlotCount; ++s) {
        // Low bits of `taken` first: a set bit takes a slot also when the word has it, a
        // clear bit only when both have it; after bit i the chance is (taken mod 2^(i+1)) /
        // 2^(i+1).
        Lanes lanes{};
        for (int i = 0; i < plan_.bits; ++i) {
            const Lanes word{random.next(), random.next()};
            lanes = (plan_.taken >> i & 1) != 0 ? lanes | word : lanes & word;
        }
        storeLanes(&slots_[2 * static_cast<std::size_t>(s)], lanes);
        for (Lanes& digit : counter) {
            const Lanes carry = digit & lanes;
            digit ^= lanes;
            lanes = carry;
        }
    }
    shared = random;
    std::array<std::uint8_t, kLadders> counts{};
    for (int word = 0; word < 2; ++word) {
        for (int byte = 0; byte < 8; ++byte) {
            std::uint64_t rows = 0;
            for (int i = 0; i < 8; ++i) {
                rows |= (counter[i][word] >> (8 * byte) & 0xFF) << (8 * i);
            }
            rows = transpose8x8(rows);
            for (int j = 0; j < 8; ++j) {
                counts[64 * word + 8 * byte + j] = static_cast<std::uint8_t>(rows >> (8 * j));
            }
        }
    }
    return counts;
}

void RungSampler::buildLadders(int ladders, FastRandom& shared) {
    std::array<std::uint8_t, kLadders> taken{};
    bool mayPlace = true;
    bool mayRemove = true;
    if (plan_.bits == 0) {
        // No random first step: every ladder starts alike, so all go one way or none.
        const int start = plan_.taken == 0 ? 0 : kSlotCount;
        std::fill(slots_.begin(), slots_.begin() + 2 * kSlotCount,
                  start == 0 ? 0 : ~std::uint64_t{0});
        taken.fill(static_cast<std::uint8_t>(start));
        mayPlace = start < rungs_;
        mayRemove = start > rungs_;
    } else {
        taken = takeSlots(shared);
    }
    FastRandom random = shared;
    // The ladders short of rungs first, then those with too many.
    if (mayPlace) {
        toggleLadders<true>(slots_, rungs_, taken, ladders, random);
    }
    if (mayRemove) {
        toggleLadders<false>(slots_, rungs_, taken, ladders, random);
    }
    shared = random;
}

void RungSampler::addLandings(int start, std::uint64_t trials, FastRandom& random,
                              ColumnCounts& counts) {
    for (std::uint64_t done = 0; done < trials; done += kLadders) {
        const int ladders = static_cast<int>(std::min<std::uint64_t>(kLadders, trials - done));
        buildLadders(ladders, random);
        // lines[x] holds the ladders whose path is on line x.
        std::array<Lanes, kLastGap + 2> lines{};
        lines[static_cast<std::size_t>(lineX(start))] = ~Lanes{};
        for (int step = 0; step < kSteps; ++step) {
            const std::uint64_t* slots =
                &slots_[2 * static_cast<std::size_t>(slotOf(kFirstGap, step))];
            crossHeight(lines.data(), slots, std::integer_sequence<int, 2, 4, 6, 8, 10>{});
            crossHeight(lines.data(), slots, std::integer_sequence<int, 3, 5, 7, 9>{});
        }
        const Lanes counted{ladders >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << ladders) - 1,
                            ladders >= 128 ? ~std::uint64_t{0}
                                           : (std::uint64_t{1} << std::max(0, ladders - 64)) - 1};
        for (int line = 1; line <= kLineCount; ++line) {
            const Lanes landed = lines[static_cast<std::size_t>(lineX(line))] & counted;
            counts[line] +=
                static_cast<std::uint64_t>(std::popcount(landed[0]) + std::popcount(landed[1]));
        }
    }
}

}  // namespace tanabashigo
