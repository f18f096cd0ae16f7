#include "lesson_keys.h"

namespace tanabashigo {

bool keyGoesToLesson(LessonKey key, FocusKind focus, bool covered) {
    if (covered) {
        return false;
    }
    switch (focus) {
        case FocusKind::None:
            return true;
        case FocusKind::Button:
            return key == LessonKey::Right;
        case FocusKind::SpinBox:
            return key == LessonKey::Space;
        case FocusKind::Slider:
            return key != LessonKey::Right;
        case FocusKind::TextField:
        case FocusKind::Choice:
            break;
    }
    return false;
}

}  // namespace tanabashigo
