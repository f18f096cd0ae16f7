#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace tanabashigo {

/// The local time of day, injected so that tests and headless tools are reproducible.
class Clock {
public:
    virtual ~Clock() = default;
    /// Seconds since local midnight, with their fraction.
    virtual double secondsSinceMidnight() const = 0;
};

/// The machine's own clock.
class SystemClock final : public Clock {
public:
    double secondsSinceMidnight() const override;
};

/// Uniform single-precision values in [0, 1), on a 64-bit Mersenne Twister.
///
/// Every value takes 24 fresh bits of the engine's output, exactly a float's mantissa: three
/// 64-bit words give eight values. Words are drawn a few at a time; a reseed drops the bits
/// not yet used.
///
/// With a clock, reseedFromClock() mixes the current time of day into the generator's
/// state: reseeding again with an unchanged clock value does not restart the sequence.
/// Without a clock (seeded mode) reseedFromClock() does nothing, so a seed alone fixes
/// every value drawn.
class RandomSource {
public:
    /// Seeded mode: the sequence depends on `seed` only.
    explicit RandomSource(std::uint32_t seed);
    /// Clock mode: `clock` must outlive this source.
    RandomSource(std::uint32_t seed, const Clock& clock);

    /// The next value, uniform in [0, 1); never 1.0.
    float next() { return toUnit(nextBits()); }
    /// Int(r × n) for the next value r, as next() would give it: r is a whole multiple of
    /// 2^-24, so the product is computed exactly in integers. For 1 <= n <= 256.
    int nextBelow(int n) {
        return static_cast<int>((nextBits() * static_cast<std::uint32_t>(n)) >> 24);
    }
    /// Mixes the clock's time of day into the state; a no-op in seeded mode.
    void reseedFromClock() {
        if (clock_ != nullptr) {
            mixIn(clock_->secondsSinceMidnight());
        }
    }
    /// Maps 24 random bits to [0, 1) exactly: 0 .. 1 - 2^-24.
    static constexpr float toUnit(std::uint32_t bits24) {
        return static_cast<float>(bits24) * 0x1p-24f;
    }

private:
    static constexpr std::size_t kWordsPerRefill = 12;  ///< a multiple of three words

    /// The next 24 bits.
    std::uint32_t nextBits() {
        if (used_ == values_.size()) {
            refill();
        }
        return values_[used_++];
    }
    /// Reseeds from the current state and the time of day, as a single-precision value.
    void mixIn(double secondsSinceMidnight);
    /// Cuts the next words of the engine into 24-bit values, in one tight loop.
    void refill();

    std::mt19937_64 engine_;
    const Clock* clock_ = nullptr;
    std::array<std::uint32_t, kWordsPerRefill * 64 / 24> values_{};
    std::size_t used_ = values_.size();
};

/// A seed that differs from run to run, for the window's clock mode.
std::uint32_t freshSeed();

}  // namespace tanabashigo
