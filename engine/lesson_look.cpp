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

PathEnd pathEnd(const std::vector<Segment>& path) {
    const Segment& last = path.back();
    const auto meets = [&last](const Segment& step) {
        return (step.x1 == last.x1 && step.y1 == last.y1) ||
               (step.x2 == last.x1 && step.y2 == last.y1);
    };
    // The end the step before does not share is the one that moves.
    const bool forwards = path.size() < 2 || meets(path[path.size() - 2]);
    const int x = forwards ? last.x2 : last.x1, y = forwards ? last.y2 : last.y1;
    const int fromX = forwards ? last.x1 : last.x2, fromY = forwards ? last.y1 : last.y2;
    const double length = std::hypot(x - fromX, y - fromY);
    return {x, y, length == 0 ? 0 : (fromX - x) / length, length == 0 ? 0 : (fromY - y) / length};
}

}  // namespace tanabashigo
