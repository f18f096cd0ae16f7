#include "random_source.h"

#include <chrono>
#include <cstring>
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

float RandomSource::next() {
    constexpr int kBits = 24;
    std::uint64_t bits = unusedBits_;
    if (unusedCount_ >= kBits) {
        unusedBits_ >>= kBits;
        unusedCount_ -= kBits;
    } else {
        // The value starts with the bits left of the current word and ends in the next word.
        const std::uint64_t word = engine_();
        bits |= word << unusedCount_;
        unusedBits_ = word >> (kBits - unusedCount_);
        unusedCount_ += 64 - kBits;
    }
    const auto value = static_cast<std::uint32_t>(bits & ((std::uint64_t{1} << kBits) - 1));
    return static_cast<float>(value) * 0x1p-24f;
}

void RandomSource::reseedFromClock() {
    if (clock_ == nullptr) {
        return;
    }
    const auto time = static_cast<float>(clock_->secondsSinceMidnight());
    std::uint32_t timeBits = 0;
    std::memcpy(&timeBits, &time, sizeof timeBits);
    const std::uint64_t state = engine_();
    std::seed_seq mix{static_cast<std::uint32_t>(state), static_cast<std::uint32_t>(state >> 32),
                      timeBits};
    engine_.seed(mix);
    unusedBits_ = 0;
    unusedCount_ = 0;
}

std::uint32_t freshSeed() {
    std::random_device device;
    return device();
}

}  // namespace tanabashigo
