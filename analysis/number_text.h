#pragma once

#include <cstdint>
#include <string>

namespace tanabashigo {

/// `value` with `decimals` decimals and a '.' whatever the C locale: "0.25", "-3.0".
std::string fixedText(double value, int decimals);

/// `value` in scientific notation with `decimals` decimals and a '.': "1.5e-07".
std::string scientificText(double value, int decimals);

/// The shortest decimal text that reads back as exactly `value`, with a '.': "0.1", "1e-05".
std::string shortestDecimal(double value);

/// `value` with its digits in groups of three: "1,000,000".
std::string groupedDigits(std::uint64_t value);

/// printf into a string of any length; numbers with decimals go through the functions above.
[[gnu::format(printf, 1, 2)]] std::string formatted(const char* pattern, ...);

}  // namespace tanabashigo
