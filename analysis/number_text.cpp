#include "number_text.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tanabashigo {

namespace {

/// printf into a string of any length, in the C library's current locale.
std::string vformatted(const char* pattern, std::va_list args) {
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, pattern, args);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        std::vsnprintf(text.data(), text.size() + 1, pattern, again);
    }
    va_end(again);
    return text;
}

/// `number` (printed by printf in the current locale) with the locale's decimal point as '.'.
std::string withPoint(std::string number) {
    const char* point = std::localeconv()->decimal_point;
    const std::size_t length = std::strlen(point);
    if (length == 0 || (length == 1 && point[0] == '.')) {
        return number;
    }
    const std::size_t at = number.find(point);
    if (at == std::string::npos) {
        return number;
    }
    return number.substr(0, at) + '.' + number.substr(at + length);
}

}  // namespace

std::string fixedText(double value, int decimals) {
    return withPoint(formatted("%.*f", decimals, value));
}

std::string scientificText(double value, int decimals) {
    return withPoint(formatted("%.*e", decimals, value));
}

std::string shortestDecimal(double value) {
    std::string text;
    for (int digits = 1; digits <= 17; ++digits) {
        text = formatted("%.*g", digits, value);
        if (std::strtod(text.c_str(), nullptr) == value) {
            break;
        }
    }
    return withPoint(text);
}

std::string groupedDigits(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return digits;
}

std::string formatted(const char* pattern, ...) {
    std::va_list args;
    va_start(args, pattern);
    std::string text = vformatted(pattern, args);
    va_end(args);
    return text;
}

}  // namespace tanabashigo
