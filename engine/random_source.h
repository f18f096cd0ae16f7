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

/// Uniform single-precision values in [0, 1), on a 64-bit Mersenne Twister.
///
/// The generator's 64-bit words are read as one stream of bits, lowest bits first; every
/// value takes the next 24 bits, exactly a float's mantissa. A reseed drops the bits of the
/// current word not yet used.
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

    /// The next value, uniform in [0, 1): a whole multiple of 2^-24, never 1.0.
    float next();
    /// Int(r × n) for the next value r.
    int nextBelow(int n) { return static_cast<int>(static_cast<double>(next()) * n); }
    /// Mixes the clock's time of day into the state; a no-op in seeded mode.
    void reseedFromClock();

private:
    std::mt19937_64 engine_;
    const Clock* clock_ = nullptr;
    std::uint64_t unusedBits_ = 0;  ///< the rest of the current word, lowest bits next
    int unusedCount_ = 0;           ///< how many bits of the current word are left
};

/// A seed that differs from run to run, for the window's clock mode.
std::uint32_t freshSeed();

}  // namespace tanabashigo
