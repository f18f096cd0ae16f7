// libFuzzer target for the rung-count reader: no crash, accepted answers in range, and
// blanks, tabs and line feeds anywhere never change the number read.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "rung_count_reader.h"

namespace {

/// Stops the run with a message naming the broken property.
[[noreturn]] void fail(const char* what, std::string_view input) {
    std::fprintf(stderr, "rung count reader: %s for input of %zu bytes\n", what, input.size());
    std::abort();
}

/// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or code points past
/// U+10FFFF), as every answer typed at the prompt is.
bool isWellFormedUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

/// The same double, bit for bit (the reader never yields NaN, so this is equality that also
/// tells -0 from +0).
bool sameNumber(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

/// `text` without any blank, tab or line feed.
std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            out += c;
        }
    }
    return out;
}

/// `text` with one blank inserted at a character boundary; where and which blank (space, tab,
/// line feed or the ideographic space) is chosen from the text's own bytes.
std::string withOneMoreBlank(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    std::size_t pos = text.empty() ? 0 : hash % (text.size() + 1);
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) {
        ++pos;
    }
    static constexpr std::string_view kBlanks[] = {" ", "\t", "\n", "\xE3\x80\x80"};
    std::string out(text.substr(0, pos));
    out += kBlanks[(hash >> 24) % 4];
    out += text.substr(pos);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const double value = tanabashigo::readLeadingNumber(input);
    if (std::isnan(value)) {
        fail("the number read is NaN", input);
    }
    const auto rungs = tanabashigo::rungCountFromAnswer(input);
    const bool inRange = value >= 10.0 && value <= 50.0;
    if (rungs.has_value() != inRange) {
        fail("acceptance disagrees with the number read", input);
    }
    if (rungs && (*rungs < 10 || *rungs > 50 || *rungs != static_cast<int>(std::floor(value)))) {
        fail("an accepted rung count is not the whole part of 10..50", input);
    }
    if (!isWellFormedUtf8(input)) {
        return 0;
    }
    if (!sameNumber(tanabashigo::readLeadingNumber(withoutBlanks(input)), value)) {
        fail("removing the blanks changed the number", input);
    }
    const std::string widened = withOneMoreBlank(input);
    if (!sameNumber(tanabashigo::readLeadingNumber(widened), value)) {
        fail("inserting a blank changed the number", input);
    }
    if (tanabashigo::rungCountFromAnswer(widened) != rungs) {
        fail("inserting a blank changed the rung count", input);
    }
    return 0;
}
