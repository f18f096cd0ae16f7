#include "plain_number.h"

namespace tanabashigo {

std::optional<std::uint64_t> plainNumber(std::string_view text, std::uint64_t min,
                                         std::uint64_t max) {
    if (text.empty() || text.size() > 19) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tanabashigo
