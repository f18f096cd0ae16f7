#include "random_source.h"

#include <bit>
#include <chrono>
#include <ctime>

namespace tanabashigo {

double SystemClock::secondsSinceMidnight() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&whole, &local);
    const double fraction = duration<double>(now - system_clock::from_time_t(whole)).count();
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

RandomSource::RandomSource(std::uint32_t seed) : engine_(seed) {}

RandomSource::RandomSource(std::uint32_t seed, const Clock& clock)
    : engine_(seed), clock_(&clock) {}

void RandomSource::mixIn(double secondsSinceMidnight) {
    const auto time = static_cast<float>(secondsSinceMidnight);
    const std::uint64_t state = engine_();
    std::seed_seq mix{static_cast<std::uint32_t>(state), static_cast<std::uint32_t>(state >> 32),
                      std::bit_cast<std::uint32_t>(time)};
    engine_.seed(mix);
    used_ = values_.size();
}

void RandomSource::refill() {
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

std::uint32_t freshSeed() {
    std::random_device device;
    return device();
}

}  // namespace tanabashigo
