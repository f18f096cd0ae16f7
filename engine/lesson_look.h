#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "colour_vision.h"
#include "geometry.h"

namespace tanabashigo {

/// A colour the teacher can choose for the path, the start marks and the markers.
struct PathColours {
    std::string_view name;  ///< as the choice shows it
    Colour path;            ///< the path and the start marks in the lesson window
    Colour pagePath;        ///< the path on the page
    Colour marker;          ///< the markers and their counts; on the page, the start marks too
};

/// The choices, today's red first and by default. The blue and the orange keep
/// kGraphicsContrast against the black rungs and both backgrounds in protanopia and
/// deuteranopia as well; the red does not.
inline constexpr std::array<PathColours, 3> kPathColours{{
    {"赤", {0xFF, 0x00, 0x00}, {0xFF, 0x30, 0x30}, {0xE0, 0x00, 0x00}},
    {"青", {0x00, 0x72, 0xB2}, {0x00, 0x72, 0xB2}, {0x00, 0x72, 0xB2}},
    {"オレンジ", {0xC8, 0x50, 0x00}, {0xC8, 0x50, 0x00}, {0xC8, 0x50, 0x00}},
}};

/// The background of the lesson window's picture, and of the page's.
inline constexpr Colour kWindowBackground{0xFF, 0xFF, 0xFF};
inline constexpr Colour kPageBackground{0xF4, 0xF4, 0xF0};

/// Choice `index` of kPathColours; today's red for an index out of range.
const PathColours& pathColours(int index);

/// How the lesson draws the path on a ladder of one size and rung count, for the lesson window
/// and the page alike. Rungs can be told apart while their mean spacing in one gap holds three
/// line widths: the rung itself, a path one line width wide and half a line width clear on
/// either side.
struct PathLook {
    double pathWidth = 1;    ///< twice the line width, narrower where the rungs crowd
    double endDiameter = 1;  ///< the disc at the path's moving end, in the path colour
    double endOutline = 1;   ///< the white ring round that disc, inside a black one half as wide
    int legibleRungs = 0;    ///< the most rungs this ladder shows apart, up to kSlotCount
};

/// The look of the path on a ladder `unitPx` pixels to a ladder unit, its lines and rungs
/// `lineWidth` pixels wide, holding `rungs` rungs.
PathLook pathLook(double unitPx, double lineWidth, int rungs);

/// The note that `rungs` rungs crowd this ladder (`legibleRungs` from pathLook), in UTF-8;
/// empty when they can be told apart.
std::string crowdedRungsNote(int rungs, int legibleRungs);

/// The path's moving end, in ladder units, and the way back along its last step, one pixel long
/// (a step runs straight down or straight across): the disc's centre stands that way from the
/// end, so that the disc touching the end leaves what lies ahead in view.
struct PathEnd {
    int x = 0;
    int y = 0;
    double backX = 0;
    double backY = 0;
};
/// The end of `path`, a run down first and then steps that each start where the last one ended
/// (a step across may be stored either way round); `path` is not empty.
PathEnd pathEnd(const std::vector<Segment>& path);

}  // namespace tanabashigo
