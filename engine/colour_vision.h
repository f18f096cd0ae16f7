#pragma once

#include <cstdint>
#include <string>

namespace tanabashigo {

/// An sRGB colour, eight bits a channel: of a chart, or of the lesson's path and markers.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Colour&) const = default;
};

/// `colour` as "#rrggbb", the form SVG and CSS take.
std::string hexColour(Colour colour);

/// The colour vision a colour is seen with: full protanopia and deuteranopia are simulated
/// with the matrices of Machado, Oliveira and Fernandes (2009) on linearised sRGB.
enum class Vision { Normal, Protanopia, Deuteranopia };

/// The WCAG relative luminance (0..1) of `colour` as seen with `vision`.
double relativeLuminance(Colour colour, Vision vision = Vision::Normal);

/// The WCAG contrast ratio (1..21) of two colours as seen with `vision`.
double contrastRatio(Colour a, Colour b, Vision vision = Vision::Normal);

/// The contrast a path or a marker needs against the rungs and the background (WCAG's figure
/// for graphics).
inline constexpr double kGraphicsContrast = 3.0;

}  // namespace tanabashigo
