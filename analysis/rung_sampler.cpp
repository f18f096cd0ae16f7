#include "rung_sampler.h"

namespace tanabashigo {

const RungsByHeight& RungSampler::next(int rungs) {
    ladder_.fill(0);
    for (int placed = 0; placed < rungs;) {
        const int gap = nextBelow(9) + 2;
        // Odd gaps take the even heights 12..60, even gaps the odd heights 11..59.
        const int height = 2 * nextBelow(25) + 11 + (gap & 1);
        const auto gapBit = static_cast<std::uint16_t>(1u << gap);
        auto& here = ladder_[static_cast<std::size_t>(height)];
        if ((here & gapBit) == 0) {
            here |= gapBit;
            ++placed;
        }
    }
    return ladder_;
}

void RungSampler::refill() {
    constexpr std::uint64_t kMask = (std::uint64_t{1} << 24) - 1;
    auto* out = values_.data();
    for (std::size_t w = 0; w < kWordsPerRefill; w += 3) {
        const std::uint64_t a = engine_();
        const std::uint64_t b = engine_();
        const std::uint64_t c = engine_();
        *out++ = static_cast<std::uint32_t>(a & kMask);
        *out++ = static_cast<std::uint32_t>((a >> 24) & kMask);
        *out++ = static_cast<std::uint32_t>((a >> 48 | b << 16) & kMask);
        *out++ = static_cast<std::uint32_t>((b >> 8) & kMask);
        *out++ = static_cast<std::uint32_t>((b >> 32) & kMask);
        *out++ = static_cast<std::uint32_t>((b >> 56 | c << 8) & kMask);
        *out++ = static_cast<std::uint32_t>((c >> 16) & kMask);
        *out++ = static_cast<std::uint32_t>(c >> 40);
    }
    used_ = 0;
}

}  // namespace tanabashigo
