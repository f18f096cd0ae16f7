#include "lesson_pace.h"

#include <cmath>

namespace tanabashigo {

double meanTrialMs(int speed, int rungs) {
    const LessonPace& pace = lessonPace(speed);
    const double pathUnits = (kBottomY - kTopY) + rungs / 5.0;
    return pace.landingMs + rungs * pace.rungMs + pathUnits * pace.pathUnitMs;
}

int speedForTick(int tickMs) {
    int best = kSlowestSpeed;
    for (int speed = kSlowestSpeed; speed <= kFastestSpeed; ++speed) {
        if (std::abs(lessonPace(speed).rungMs - tickMs) <
            std::abs(lessonPace(best).rungMs - tickMs)) {
            best = speed;
        }
    }
    return best;
}

}  // namespace tanabashigo
