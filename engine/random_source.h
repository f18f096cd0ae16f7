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

/// Uniform single-precision values in [0, 1), on a Mersenne Twister.
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
    float next();
    /// Mixes the clock's time of day into the state; a no-op in seeded mode.
    void reseedFromClock();
    /// Maps 32 random bits to [0, 1): the top 24 fill a float's mantissa exactly.
    static constexpr float toUnit(std::uint32_t bits) {
        return static_cast<float>(bits >> 8) * 0x1p-24f;
    }
    /// Whether reseedFromClock() consults a clock.
    bool followsClock() const { return clock_ != nullptr; }

private:
    std::mt19937 engine_;
    const Clock* clock_ = nullptr;
};

/// A seed that differs from run to run, for the window's clock mode.
std::uint32_t freshSeed();

}  // namespace tanabashigo
