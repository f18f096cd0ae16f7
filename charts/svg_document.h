#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "colour_vision.h"

namespace tanabashigo {

/// A rectangle of a chart, in pixels from the top left.
struct Box {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

/// A point of a chart.
struct Point {
    double x = 0.0;
    double y = 0.0;
};

/// Where a text stands against its x.
enum class Anchor { Start, Middle, End };

/// The fonts a chart's labels ask for, best first: the ones Japanese schools' machines have.
inline constexpr std::string_view kChartFontFamilies =
    "IPAPGothic, 'Hiragino Sans', 'Yu Gothic', Meiryo, 'Noto Sans CJK JP', sans-serif";

/// A width `text` at `size` pixels takes at most in any of the chart fonts: a full-width
/// character one size, others six tenths of it.
double textWidth(std::string_view text, double size);

/// `value` with at most two decimals and a '.' whatever the locale: "12.5", "-3", "0.25".
std::string decimalText(double value);

/// An SVG document of a chart, built element by element.
class SvgDocument {
public:
    /// A document of `width` × `height` pixels, named in its viewBox so it scales.
    SvgDocument(double width, double height, std::string_view title);

    void fillRect(const Box& box, Colour fill);
    /// The edges of `box`, unfilled.
    void outlineRect(const Box& box, Colour stroke, double width);
    void line(Point from, Point to, Colour stroke, double width, bool dashed = false);
    /// A line through `points`, with round joins.
    void polyline(const std::vector<Point>& points, Colour stroke, double width);
    void circle(Point centre, double radius, Colour fill);
    /// One label: `text` with its baseline at y, standing against x as `anchor` says.
    void text(Point at, std::string_view text, double size, Colour colour,
              Anchor anchor = Anchor::Start, bool bold = false);

    /// The whole document.
    std::string finished() const;

private:
    std::string body_;
    double width_;
    double height_;
    std::string title_;
};

/// The parts of the line through `points` that lie inside `box`, each a line of its own.
std::vector<std::vector<Point>> clippedLine(const std::vector<Point>& points, const Box& box);

}  // namespace tanabashigo
