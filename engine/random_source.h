#pragma once

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

/// Uniform single-precision values in [0, 1), on a 64-bit Mersenne Twister: each draw of
/// the engine yields two values, from its low and its high 32 bits.
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
    float next() {
        if (spareBits_) {
            spareBits_ = false;
            return toUnit(static_cast<std::uint32_t>(bits_ >> 32));
        }
        bits_ = engine_();
        spareBits_ = true;
        return toUnit(static_cast<std::uint32_t>(bits_));
    }
    /// Mixes the clock's time of day into the state; a no-op in seeded mode.
    void reseedFromClock() {
        if (clock_ != nullptr) {
            mixIn(clock_->secondsSinceMidnight());
        }
    }
    /// Maps 32 random bits to [0, 1): the top 24 fill a float's mantissa exactly.
    static constexpr float toUnit(std::uint32_t bits) {
        return static_cast<float>(bits >> 8) * 0x1p-24f;
    }
    /// Whether reseedFromClock() consults a clock.
    bool followsClock() const { return clock_ != nullptr; }

private:
    /// Reseeds from the current state and the time of day, as a single-precision value.
    void mixIn(double secondsSinceMidnight);

    std::mt19937_64 engine_;
    const Clock* clock_ = nullptr;
    std::uint64_t bits_ = 0;
    bool spareBits_ = false;
};

/// A seed that differs from run to run, for the window's clock mode.
std::uint32_t freshSeed();

}  // namespace tanabashigo
