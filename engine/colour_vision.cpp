#include "colour_vision.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tanabashigo {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr Matrix kSeen[] = {
    {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
    {{{0.152286, 1.052583, -0.204868},
      {0.114503, 0.786281, 0.099216},
      {-0.003882, -0.048116, 1.051998}}},
    {{{0.367322, 0.860646, -0.227968},
      {0.280085, 0.672501, 0.047413},
      {-0.011820, 0.042940, 0.968881}}},
};

/// One sRGB channel (0..255) on the linear scale (0..1).
double linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

std::string hexColour(Colour colour) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t part : {colour.red, colour.green, colour.blue}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 15];
    }
    return text;
}

double relativeLuminance(Colour colour, Vision vision) {
    const std::array<double, 3> rgb{linear(colour.red), linear(colour.green), linear(colour.blue)};
    const Matrix& seen = kSeen[static_cast<int>(vision)];
    constexpr std::array<double, 3> kWeights{0.2126, 0.7152, 0.0722};
    double luminance = 0;
    for (std::size_t row = 0; row < 3; ++row) {
        const double channel =
            seen[row][0] * rgb[0] + seen[row][1] * rgb[1] + seen[row][2] * rgb[2];
        luminance += kWeights[row] * std::clamp(channel, 0.0, 1.0);
    }
    return luminance;
}

double contrastRatio(Colour a, Colour b, Vision vision) {
    const double la = relativeLuminance(a, vision);
    const double lb = relativeLuminance(b, vision);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace tanabashigo
