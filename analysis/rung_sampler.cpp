#include "rung_sampler.h"

#include <algorithm>
#include <bit>

#include "landing_law.h"
#include "rung_slots.h"
#include "sorted_ladder.h"
#include "splitmix64.h"

namespace tanabashigo {

namespace {

/// Where each slot lies, as the window places its rungs. The bytes 225..255 name no slot:
/// their bit is 0 and they are drawn again.
struct SlotPlaces {
    std::array<std::uint8_t, 256> height{};  ///< 11..60
    std::array<std::uint16_t, 256> bit{};    ///< 1 << gap
    constexpr SlotPlaces() {
        for (int s = 0; s < kSlotCount; ++s) {
            height[s] = static_cast<std::uint8_t>(slotHeight(s));
            bit[s] = static_cast<std::uint16_t>(1u << slotGap(s));
        }
    }
};
constexpr SlotPlaces kSlots;

/// Every gap of a height in all four lanes: the even gaps 2..10 at odd heights, the odd gaps
/// 3..9 at even ones.
constexpr std::uint64_t kEvenGaps = 0x0554'0554'0554'0554u;
constexpr std::uint64_t kOddGaps = 0x02A8'02A8'02A8'02A8u;

}  // namespace

FastRandom::FastRandom(std::uint64_t seed) {
    for (std::uint64_t& word : state_) {
        word = splitmix64(seed);
    }
}

RungSampler::RungSampler(int rungs) : rungs_(rungs) {}

void RungSampler::scatter(int lane, int count, bool place, FastRandom& random) {
    const int shift = 16 * lane;
    // A slot is toggled where its bit differs from `flip`: empty slots when placing.
    const std::uint64_t flip = place ? ~std::uint64_t{0} : 0;
    for (int done = 0; done < count;) {
        // Eight draws of a byte from each word; a byte names a slot or is drawn again.
        std::uint64_t word = random.next();
        for (int k = 0; k < 8 && done < count; ++k, word >>= 8) {
            const auto byte = static_cast<std::uint8_t>(word);
            std::uint64_t& gaps = gaps_[kSlots.height[byte]];
            const std::uint64_t bit = std::uint64_t{kSlots.bit[byte]} << shift;
            // A slot already toggled is drawn again too: the set stays uniform.
            const std::uint64_t toggled = bit & (gaps ^ flip);
            gaps ^= toggled;
            done += toggled != 0;
        }
    }
}

void RungSampler::buildLadders(FastRandom& random) {
    // Past half the slots it is quicker to choose the empty ones.
    const bool place = 2 * rungs_ <= kSlotCount;
    for (int y = kTopY + 1; y < kBottomY; ++y) {
        gaps_[y] = place ? 0 : (y % 2 == 1 ? kEvenGaps : kOddGaps);
    }
    for (int lane = 0; lane < kLanes; ++lane) {
        scatter(lane, place ? rungs_ : kSlotCount - rungs_, place, random);
    }
}

void RungSampler::addLandings(int start, std::uint64_t trials, FastRandom& random,
                              ColumnCounts& counts) {
    constexpr std::uint64_t kOneInEachLane = 0x0001'0001'0001'0001u;
    // A local copy stays in registers: stores into gaps_ cannot alias it.
    FastRandom local = random;
    for (std::uint64_t done = 0; done < trials; done += kLanes) {
        buildLadders(local);
        const std::uint64_t lines = followRungs(kOneInEachLane << lineX(start), gaps_);
        const std::uint64_t lanes = std::min<std::uint64_t>(kLanes, trials - done);
        for (std::uint64_t lane = 0; lane < lanes; ++lane) {
            ++counts[columnOfX(std::countr_zero(lines >> (16 * lane) & 0xFFFF))];
        }
    }
    random = local;
}

}  // namespace tanabashigo
