#include "lesson_look.h"

#include <algorithm>
#include <cmath>

namespace tanabashigo {

namespace {

/// Line widths the mean spacing of rungs in one gap must hold for them to be told apart.
constexpr double kLegibleSpacing = 3;

/// The mean spacing, in pixels, of `rungs` rungs in one gap: with every slot filled, two units.
double meanSpacingPx(double unitPx, int rungs) {
    return 2 * unitPx * kSlotCount / std::max(1, rungs);
}

}  // namespace

const PathColours& pathColours(int index) {
    const bool known = index >= 0 && index < int(kPathColours.size());
    return kPathColours[known ? std::size_t(index) : 0];
}

PathLook pathLook(double unitPx, double lineWidth, int rungs) {
    PathLook look;
    const double spacing = meanSpacingPx(unitPx, rungs);
    look.pathWidth = std::clamp(spacing - 2 * lineWidth, lineWidth, 2 * lineWidth);
    look.endDiameter = std::max(6 * lineWidth, 3 * look.pathWidth);
    look.endOutline = std::max(2.0, lineWidth / 2);
    const double most = std::floor(meanSpacingPx(unitPx, 1) / (kLegibleSpacing * lineWidth));
    look.legibleRungs = static_cast<int>(std::clamp(most, 0.0, double(kSlotCount)));
    return look;
}

std::string crowdedRungsNote(int rungs, int legibleRungs) {
    if (rungs <= legibleRungs) {
        return {};
    }
    return "この画面の大きさでは、横線が " + std::to_string(legibleRungs) +
           " 本をこえると見分けにくくなります。";
}

EndMarkOffset endMarkOffset(const Segment& last) {
    const double dx = last.x2 - last.x1;
    const double dy = last.y2 - last.y1;
    const double length = std::hypot(dx, dy);
    if (length == 0) {
        return {};
    }
    return {-dx / length, -dy / length};
}

}  // namespace tanabashigo
