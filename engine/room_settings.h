#pragma once

#include <string_view>

#include "lesson_event.h"
#include "lesson_pace.h"

namespace tanabashigo {

/// The room's settings of a lesson, the same in the lesson window and the page. The sound is
/// kept between lessons; quiet mode lasts for the lesson at hand.
struct RoomSettings {
    bool sound = false;  ///< a chime at each landing and another at the end; off by default
    bool quiet = false;  ///< for the projector: the slowest speed, no chimes, the panel folded
};

/// The speed the lesson runs at: the teacher's `chosen` one, the slowest while quiet; leaving
/// quiet mode gives the chosen one back.
constexpr int roomSpeed(const RoomSettings& room, int chosen) {
    return room.quiet ? kSlowestSpeed : chosen;
}

/// The cue file an event of `kind` sounds in this room: "pinpon.wav" at a landing,
/// "endpinpon.wav" at the end, as the experiment window's; empty for none.
constexpr std::string_view lessonChime(const RoomSettings& room, LessonEvent::Kind kind) {
    if (!room.sound || room.quiet) {
        return {};
    }
    switch (kind) {
        case LessonEvent::Kind::Landed:
            return "pinpon.wav";
        case LessonEvent::Kind::Ended:
            return "endpinpon.wav";
        default:
            return {};
    }
}

}  // namespace tanabashigo
