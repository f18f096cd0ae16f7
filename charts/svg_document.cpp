#include "svg_document.h"

#include <cmath>

#include "number_text.h"

namespace tanabashigo {

namespace {

/// `text` with the characters XML reserves written as references.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string pointText(Point point) {
    return decimalText(point.x) + ',' + decimalText(point.y);
}

/// Whether `point` lies in `box`, edges included.
bool inside(Point point, const Box& box) {
    return point.x >= box.left && point.x <= box.right() && point.y >= box.top &&
           point.y <= box.bottom();
}

/// The segment from `a` to `b` cut to `box` (Liang-Barsky), or false when none of it is inside.
bool clipSegment(Point& a, Point& b, const Box& box) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.left, box.right() - a.x, a.y - box.top, box.bottom() - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
    }
    if (enter > leave) {
        return false;
    }
    const Point from = a;
    a = {from.x + enter * dx, from.y + enter * dy};
    b = {from.x + leave * dx, from.y + leave * dy};
    return true;
}

}  // namespace

double textWidth(std::string_view text, double size) {
    double width = 0.0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0xe0) {
            width += 1.0;  // three bytes or more: kana, kanji, full-width signs
            i += byte >= 0xf0 ? 3 : 2;
        } else if (byte >= 0xc0) {
            width += 0.6;
            i += 1;
        } else {
            width +=
                std::string_view("%MWmw@").find(static_cast<char>(byte)) != std::string_view::npos
                    ? 0.95
                    : 0.6;
        }
    }
    return width * size;
}

std::string decimalText(double value) {
    std::string text = fixedText(value, 2);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

SvgDocument::SvgDocument(double width, double height, std::string_view title)
    : width_(width), height_(height), title_(title) {}

void SvgDocument::fillRect(const Box& box, Colour fill) {
    body_ += "<rect x=\"" + decimalText(box.left) + "\" y=\"" + decimalText(box.top) +
             "\" width=\"" + decimalText(std::max(0.0, box.width)) + "\" height=\"" +
             decimalText(std::max(0.0, box.height)) + "\" fill=\"" + hexColour(fill) + "\"/>\n";
}

void SvgDocument::outlineRect(const Box& box, Colour stroke, double width) {
    body_ += "<rect x=\"" + decimalText(box.left) + "\" y=\"" + decimalText(box.top) +
             "\" width=\"" + decimalText(std::max(0.0, box.width)) + "\" height=\"" +
             decimalText(std::max(0.0, box.height)) + "\" fill=\"none\" stroke=\"" +
             hexColour(stroke) + "\" stroke-width=\"" + decimalText(width) + "\"/>\n";
}

void SvgDocument::line(Point from, Point to, Colour stroke, double width, bool dashed) {
    body_ += "<line x1=\"" + decimalText(from.x) + "\" y1=\"" + decimalText(from.y) + "\" x2=\"" +
             decimalText(to.x) + "\" y2=\"" + decimalText(to.y) + "\" stroke=\"" +
             hexColour(stroke) + "\" stroke-width=\"" + decimalText(width) + '"' +
             (dashed ? " stroke-dasharray=\"" + decimalText(width * 4.0) + ',' +
                           decimalText(width * 2.0) + '"'
                     : std::string()) +
             "/>\n";
}

void SvgDocument::polyline(const std::vector<Point>& points, Colour stroke, double width) {
    std::string list;
    for (const Point& point : points) {
        list += (list.empty() ? "" : " ") + pointText(point);
    }
    body_ += "<polyline points=\"" + list + "\" fill=\"none\" stroke=\"" + hexColour(stroke) +
             "\" stroke-width=\"" + decimalText(width) +
             "\" stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
}

void SvgDocument::circle(Point centre, double radius, Colour fill) {
    body_ += "<circle cx=\"" + decimalText(centre.x) + "\" cy=\"" + decimalText(centre.y) +
             "\" r=\"" + decimalText(radius) + "\" fill=\"" + hexColour(fill) + "\"/>\n";
}

void SvgDocument::text(Point at, std::string_view text, double size, Colour colour, Anchor anchor,
                       bool bold) {
    static constexpr const char* kAnchors[] = {"start", "middle", "end"};
    body_ += "<text x=\"" + decimalText(at.x) + "\" y=\"" + decimalText(at.y) + "\" font-size=\"" +
             decimalText(size) + "\" fill=\"" + hexColour(colour) + "\" text-anchor=\"" +
             kAnchors[static_cast<int>(anchor)] + '"' + (bold ? " font-weight=\"bold\"" : "") +
             '>' + escaped(text) + "</text>\n";
}

std::string SvgDocument::finished() const {
    const std::string width = decimalText(width_);
    const std::string height = decimalText(height_);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\" "
           "width=\"" +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
           "\" font-family=\"" + std::string(kChartFontFamilies) + "\">\n<title>" +
           escaped(title_) + "</title>\n" + body_ + "</svg>\n";
}

std::vector<std::vector<Point>> clippedLine(const std::vector<Point>& points, const Box& box) {
    std::vector<std::vector<Point>> parts;
    bool open = false;  // the last part goes on from the previous point
    for (std::size_t i = 1; i < points.size(); ++i) {
        Point a = points[i - 1];
        Point b = points[i];
        if (!clipSegment(a, b, box)) {
            open = false;
            continue;
        }
        if (!open) {
            parts.push_back({a});
        }
        parts.back().push_back(b);
        open = inside(points[i], box);
    }
    if (points.size() == 1 && inside(points[0], box)) {
        parts.push_back(points);
    }
    return parts;
}

}  // namespace tanabashigo
