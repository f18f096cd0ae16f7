#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tanabashigo {

/// The whole of `text` as a plain decimal number in min..max: digits only (no sign, no
/// spaces), at most 19 of them; nothing otherwise.
std::optional<std::uint64_t> plainNumber(std::string_view text, std::uint64_t min,
                                         std::uint64_t max);

}  // namespace tanabashigo
