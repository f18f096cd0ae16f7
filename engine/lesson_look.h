#pragma once

#include <string>

#include "geometry.h"

namespace tanabashigo {

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

/// The way from the path's moving end to its disc's centre, one pixel long (a step runs straight
/// down or straight across): back along the
/// last step `last`, so that the disc touching the end leaves what lies ahead in view.
struct EndMarkOffset {
    double x = 0;
    double y = 0;
};
EndMarkOffset endMarkOffset(const Segment& last);

}  // namespace tanabashigo
