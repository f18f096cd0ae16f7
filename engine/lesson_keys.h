#pragma once

namespace tanabashigo {

/// The keys that pace a lesson: Enter starts, Space pauses and resumes, → steps.
enum class LessonKey { Enter, Space, Right };

/// What holds the keyboard focus, by what it does with the keys itself.
enum class FocusKind {
    None,       ///< the lesson's picture, the window itself, or nothing
    Button,     ///< presses on Space and Enter
    SpinBox,    ///< a number field: Enter enters the number, → moves the text cursor
    TextField,  ///< takes every key as text or editing
    Slider,     ///< → moves it
    Choice,     ///< a drop-down list: Space and Enter open it, → chooses the next entry
};

/// Whether `key` goes to the lesson: never while a question, the help or 理論と実験 lies in
/// front of it (`covered`), nor while the control holding the focus uses the key itself.
bool keyGoesToLesson(LessonKey key, FocusKind focus, bool covered);

}  // namespace tanabashigo
