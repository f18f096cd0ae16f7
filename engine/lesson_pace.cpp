#include "lesson_pace.h"

#include <cmath>

namespace tanabashigo {

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
