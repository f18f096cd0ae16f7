#include "rung_count_reader.h"

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

#include "geometry.h"

namespace tanabashigo {
namespace {

// Markers beyond the last code point, so that no character of the text can pose as one.
constexpr char32_t kEndOfText = 0x110000;
constexpr char32_t kSkipped = 0x110001;
constexpr char32_t kOther = 0x110002;

/// Decodes one character at `pos` and maps it to the ASCII character it stands for:
/// kSkipped for the blanks Val ignores, kOther for anything that ends a number.
char32_t nextSymbol(std::string_view text, std::size_t& pos) {
    if (pos >= text.size()) {
        return kEndOfText;
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead == ' ' || lead == '\t' || lead == '\n' ? kSkipped : lead;
    }
    // Full-width forms (U+FF01..U+FF5E) and the ideographic space are three-byte sequences.
    if (lead == 0xEF || lead == 0xE3) {
        if (pos + 2 < text.size()) {
            const char32_t code = (char32_t{lead} & 0x0F) << 12 |
                                  (char32_t{static_cast<unsigned char>(text[pos + 1])} & 0x3F)
                                      << 6 |
                                  (char32_t{static_cast<unsigned char>(text[pos + 2])} & 0x3F);
            const bool wellFormed = (static_cast<unsigned char>(text[pos + 1]) & 0xC0) == 0x80 &&
                                    (static_cast<unsigned char>(text[pos + 2]) & 0xC0) == 0x80;
            if (wellFormed && code == 0x3000) {
                pos += 3;
                return kSkipped;
            }
            if (wellFormed && code >= 0xFF01 && code <= 0xFF5E) {
                pos += 3;
                return code - 0xFF01 + 0x21;
            }
        }
    }
    return kOther;
}

bool isDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

/// The number's characters in plain ASCII, with the blanks taken out.
struct NumberText {
    std::string digits;     ///< mantissa and exponent in the C locale's notation
    bool negative = false;  ///< a leading minus
    long long scale = 0;    ///< rough decimal magnitude, to tell overflow from underflow
    bool hasMantissa = false;
};

NumberText scanNumber(std::string_view text) {
    NumberText number;
    std::size_t pos = 0;
    auto next = [&] {
        char32_t c;
        do {
            c = nextSymbol(text, pos);
        } while (c == kSkipped);
        return c;
    };
    char32_t c = next();
    if (c == '+' || c == '-') {
        number.negative = c == '-';
        c = next();
    }
    long long integerDigits = 0;
    long long leadingFractionZeros = 0;
    bool significantSeen = false;
    while (isDigit(c)) {
        significantSeen = significantSeen || c != '0';
        integerDigits += significantSeen ? 1 : 0;
        number.digits += static_cast<char>(c);
        c = next();
    }
    if (c == '.') {
        number.digits += '.';
        c = next();
        while (isDigit(c)) {
            if (!significantSeen && c == '0') {
                ++leadingFractionZeros;
            }
            significantSeen = significantSeen || c != '0';
            number.digits += static_cast<char>(c);
            c = next();
        }
    }
    number.hasMantissa = number.digits.find_first_of("0123456789") != std::string::npos;
    if (!number.hasMantissa) {
        return number;
    }
    number.scale = integerDigits > 0 ? integerDigits : -leadingFractionZeros;
    if (c == 'e' || c == 'E') {
        std::string exponent = "e";
        char32_t d = next();
        bool exponentNegative = false;
        if (d == '+' || d == '-') {
            exponentNegative = d == '-';
            exponent += static_cast<char>(d);
            d = next();
        }
        long long value = 0;
        bool anyDigit = false;
        while (isDigit(d)) {
            anyDigit = true;
            exponent += static_cast<char>(d);
            value = std::min<long long>(value * 10 + (d - '0'), 1'000'000'000LL);
            d = next();
        }
        if (anyDigit) {
            number.digits += exponent;
            number.scale += exponentNegative ? -value : value;
        }
    }
    return number;
}

}  // namespace

double readLeadingNumber(std::string_view text) {
    const NumberText number = scanNumber(text);
    if (!number.hasMantissa) {
        return 0.0;
    }
    // A classic-locale stream reads the same digits on every platform and in every locale;
    // it fails only when the value lies beyond the range of a double.
    std::istringstream digits(number.digits);
    digits.imbue(std::locale::classic());
    double value = 0.0;
    digits >> value;
    if (digits.fail()) {
        value = number.scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return number.negative ? -value : value;
}

std::optional<int> rungCountFromAnswer(std::string_view answer, int least, int most) {
    const double value = readLeadingNumber(answer);
    if (!(value >= least && value <= most)) {
        return std::nullopt;
    }
    return static_cast<int>(std::floor(value));
}

}  // namespace tanabashigo
