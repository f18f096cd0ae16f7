// The engine as the page sees it: the experiment window's model, the prompt's reader, the
// record's lines and the window texts, through embind.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <limits>

#include "geometry.h"
#include "js_values.h"
#include "lesson.h"
#include "lesson_keys.h"
#include "lesson_look.h"
#include "lesson_pace.h"
#include "lesson_texts.h"
#include "marker_layout.h"
#include "record_line.h"
#include "room_settings.h"
#include "rung_count_reader.h"
#include "tally.h"
#include "window_model.h"
#include "window_texts.h"

namespace tanabashigo {
namespace {

using emscripten::val;

val eventList(const std::vector<WindowEvent>& events) {
    return jsArray(events, [](const WindowEvent& event) {
        val object = val::object();
        object.set("kind", static_cast<int>(event.kind));
        object.set("line", segmentObject(event.line));
        object.set("number", event.number);
        object.set("column", event.column);
        return object;
    });
}

/// The experiment window with its own random source: seeded alone, or mixing in the clock
/// before every rung as the desktop window does when no seed is given.
class PageWindow {
public:
    PageWindow(unsigned seed, bool mixClock)
        : random_(mixClock ? RandomSource(seed, clock_) : RandomSource(seed)), model_(random_) {}

    void load() { model_.load(); }
    void activate() { model_.activate(); }
    void rungCountChosen(int rungs) { model_.rungCountChosen(rungs); }
    val start(double now) { return eventList(model_.start(static_cast<std::int64_t>(now))); }
    void stop() { model_.stop(); }
    val initialise() { return eventList(model_.initialise()); }
    val advance(double now) { return eventList(model_.advance(static_cast<std::int64_t>(now))); }
    void landingKept(double now) { model_.landingKept(static_cast<std::int64_t>(now)); }
    void landingRefused() { model_.landingRefused(); }
    /// When the next tick is due, or -1 when no timer runs.
    double nextDue() const { return static_cast<double>(model_.nextDue().value_or(-1)); }
    int rungCount() const { return model_.experiment().ladder().rungCount(); }
    int count(int column) const { return model_.experiment().tally()(column); }

    val controls() const {
        const WindowControls& c = model_.controls();
        val object = val::object();
        object.set("start", c.start);
        object.set("quit", c.quit);
        object.set("initialise", c.initialise);
        object.set("stop", c.stop);
        object.set("help", c.help);
        return object;
    }

private:
    SystemClock clock_;
    RandomSource random_;
    WindowModel model_;
};

val lessonEventList(const std::vector<LessonEvent>& events) {
    return jsArray(events, [](const LessonEvent& event) {
        val object = val::object();
        object.set("kind", static_cast<int>(event.kind));
        object.set("trial", event.trial);
        object.set("rungNo", event.rungNo);
        object.set("column", event.column);
        object.set("count", event.count);
        object.set("start", event.entry.start);
        return object;
    });
}

/// The lesson as the page drives it: moves come out as events, and the whole picture (the
/// rungs placed and the path so far) can be read back to draw it again at any size.
class PageLesson {
public:
    explicit PageLesson(unsigned seed) : lesson_(seed) {}

    void setRungCount(int rungs) { lesson_.setRungCount(rungs); }
    void setStartLine(int line) { lesson_.setStartLine(line); }
    /// `choice` is a StartLineChoice as a number.
    void setStartLineChoice(int choice) {
        lesson_.setStartLineChoice(static_cast<StartLineChoice>(choice));
    }
    int startLineChoice() const { return static_cast<int>(lesson_.startLineChoice()); }
    void setSpeed(int speed) { lesson_.setSpeed(speed); }
    val start(double now) { return lessonEventList(lesson_.start(now)); }
    void stop() { lesson_.stop(); }
    void pause(double now) { lesson_.pause(now); }
    void resume(double now) { lesson_.resume(now); }
    val step(double now) { return lessonEventList(lesson_.step(now)); }
    void initialise() { lesson_.initialise(); }
    bool setHands(int column, int hands) { return lesson_.setHands(column, hands); }
    /// The class's prediction: the hands raised for columns 1..10.
    val hands() const { return numberArray(lesson_.prediction().hands); }
    bool predictionOpen() const { return lesson_.predictionOpen(); }
    val advance(double now) { return lessonEventList(lesson_.advance(now)); }
    void holdForQuestion(double now) { lesson_.holdForQuestion(now); }
    void questionAnswered(double now) { lesson_.questionAnswered(now); }

    int rungCount() const { return lesson_.rungCount(); }
    int startLine() const { return lesson_.startLine(); }
    int speed() const { return lesson_.speed(); }
    int count(int column) const { return lesson_.count(column); }
    int trial() const { return lesson_.trial(); }
    bool isRunning() const { return lesson_.isRunning(); }
    bool isPaused() const { return lesson_.isPaused(); }
    bool isFinished() const { return lesson_.isFinished(); }
    int endColumn() const { return lesson_.endColumn(); }
    int markedStartLine() const { return lesson_.markedStartLine(); }
    double nextDue() const { return lesson_.nextDueMs(); }

    /// The rungs placed so far in the trial on view, as lines.
    val rungs() const {
        return jsArray(lesson_.rungs(), [](const Rung& rung) {
            return segmentObject({rung.gap, rung.height, rung.gap + 1, rung.height});
        });
    }
    /// The path so far in the trial on view.
    val path() const { return jsArray(lesson_.path(), segmentObject); }
    /// The path's moving end and the way back along its last step (see pathEnd()), or null
    /// before the path starts.
    val pathEnd() const {
        if (lesson_.path().empty()) {
            return val::null();
        }
        const PathEnd end = tanabashigo::pathEnd(lesson_.path());
        val object = val::object();
        object.set("x", end.x);
        object.set("y", end.y);
        object.set("backX", end.backX);
        object.set("backY", end.backY);
        return object;
    }

private:
    Lesson lesson_;
};

/// Whether the key (LessonKey as a number) goes to the lesson, given what holds the focus
/// (FocusKind as a number) and whether another view lies in front.
bool lessonTakesKey(int key, int focus, bool covered) {
    return keyGoesToLesson(static_cast<LessonKey>(key), static_cast<FocusKind>(focus), covered);
}

/// How the lesson draws its path at this size and rung count: see pathLook().
val lessonPathLook(double unitPx, double lineWidth, int rungs) {
    const PathLook look = pathLook(unitPx, lineWidth, rungs);
    val object = val::object();
    object.set("pathWidth", look.pathWidth);
    object.set("endDiameter", look.endDiameter);
    object.set("endOutline", look.endOutline);
    object.set("legibleRungs", look.legibleRungs);
    return object;
}

/// The cue file a lesson event of `kind` (LessonEvent::Kind as a number) sounds in this room,
/// empty for none.
std::string lessonCue(bool sound, bool quiet, int kind) {
    return std::string(lessonChime({sound, quiet}, static_cast<LessonEvent::Kind>(kind)));
}

/// The speed the lesson runs at with `chosen` set: see roomSpeed().
int lessonRoomSpeed(bool quiet, int chosen) {
    return roomSpeed({false, quiet}, chosen);
}

val lessonLimits() {
    val object = val::object();
    object.set("mostRungs", Ladder::kCapacity);
    object.set("slowest", kSlowestSpeed);
    object.set("fastest", kFastestSpeed);
    return object;
}

/// The engine's numbers the page's limits and layout come from.
val pageConstants() {
    val object = val::object();
    object.set("lineCount", kLineCount);
    object.set("fewestRungs", kMinRungs);
    object.set("mostRungs", kMaxRungs);
    object.set("rungSlots", Ladder::kCapacity);
    object.set("columnCapacity", Tally::kColumnCapacity);
    object.set("largestSeed", static_cast<double>(std::numeric_limits<std::uint32_t>::max()));
    object.set("slowest", kSlowestSpeed);
    object.set("fastest", kFastestSpeed);
    object.set("emptyLadder", jsArray(emptyLadder(), segmentObject));
    val markers = val::object();
    markers.set("columnLeft", numberArray(marker_layout::kColumnLeft));
    markers.set("lowestTop", marker_layout::kLowestTop);
    markers.set("pitch", marker_layout::kPitch);
    markers.set("box", marker_layout::kBox);
    markers.set("startLeft", marker_layout::kStartLeft);
    markers.set("startTop", marker_layout::kStartTop);
    object.set("markers", markers);
    object.set("pathColours", jsArray(kPathColours, [](const PathColours& colours) {
                   val choice = val::object();
                   choice.set("name", std::string(colours.name));
                   choice.set("path", hexColour(colours.pagePath));
                   choice.set("marker", hexColour(colours.marker));
                   return choice;
               }));
    object.set("lessonBackground", hexColour(kPageBackground));
    return object;
}

/// The rung count an answer asks for, or 0 to ask again.
int rungCountOf(const std::string& answer) {
    return rungCountFromAnswer(answer).value_or(0);
}

std::string header() {
    return std::string(recordHeader());
}

val windowTexts() {
    const auto str = [](std::string_view text) { return val(std::string(text)); };
    val object = val::object();
    object.set("mainTitle", str(texts::kMainTitle));
    object.set("heading", str(texts::kHeading));
    object.set("start", str(texts::kStart));
    object.set("quit", str(texts::kQuit));
    object.set("initialise", str(texts::kInitialise));
    object.set("stop", str(texts::kStop));
    object.set("help", str(texts::kHelp));
    object.set("prompt", str(texts::kPrompt));
    object.set("promptTitle", str(texts::kPromptTitle));
    object.set("promptDefault", str(texts::kPromptDefault));
    object.set("quitQuestion", str(texts::kQuitQuestion));
    object.set("quitTitle", str(texts::kQuitTitle));
    object.set("cancelTitle", str(texts::kCancelTitle));
    object.set("helpTitle", str(texts::kHelpTitle));
    object.set("close", str(texts::kClose));
    object.set("helpLines", jsArray(texts::kHelpLines, str));
    object.set("lessonHelpTitle", str(texts::kLessonHelpTitle));
    object.set("lessonHelpLines", jsArray(texts::lessonHelpLines(texts::kLessonPage), str));
    object.set("startLineChoices", jsArray(texts::kStartLineChoices, str));
    return object;
}

}  // namespace
}  // namespace tanabashigo

EMSCRIPTEN_BINDINGS(tanabashigo) {
    using namespace tanabashigo;
    emscripten::class_<PageWindow>("PageWindow")
        .constructor<unsigned, bool>()
        .function("load", &PageWindow::load)
        .function("activate", &PageWindow::activate)
        .function("rungCountChosen", &PageWindow::rungCountChosen)
        .function("start", &PageWindow::start)
        .function("stop", &PageWindow::stop)
        .function("initialise", &PageWindow::initialise)
        .function("advance", &PageWindow::advance)
        .function("landingKept", &PageWindow::landingKept)
        .function("landingRefused", &PageWindow::landingRefused)
        .function("nextDue", &PageWindow::nextDue)
        .function("rungCount", &PageWindow::rungCount)
        .function("count", &PageWindow::count)
        .function("controls", &PageWindow::controls);
    emscripten::class_<PageLesson>("PageLesson")
        .constructor<unsigned>()
        .function("setRungCount", &PageLesson::setRungCount)
        .function("setStartLine", &PageLesson::setStartLine)
        .function("setStartLineChoice", &PageLesson::setStartLineChoice)
        .function("startLineChoice", &PageLesson::startLineChoice)
        .function("setSpeed", &PageLesson::setSpeed)
        .function("start", &PageLesson::start)
        .function("stop", &PageLesson::stop)
        .function("pause", &PageLesson::pause)
        .function("resume", &PageLesson::resume)
        .function("step", &PageLesson::step)
        .function("initialise", &PageLesson::initialise)
        .function("setHands", &PageLesson::setHands)
        .function("hands", &PageLesson::hands)
        .function("predictionOpen", &PageLesson::predictionOpen)
        .function("advance", &PageLesson::advance)
        .function("holdForQuestion", &PageLesson::holdForQuestion)
        .function("questionAnswered", &PageLesson::questionAnswered)
        .function("rungCount", &PageLesson::rungCount)
        .function("startLine", &PageLesson::startLine)
        .function("speed", &PageLesson::speed)
        .function("count", &PageLesson::count)
        .function("trial", &PageLesson::trial)
        .function("isRunning", &PageLesson::isRunning)
        .function("isPaused", &PageLesson::isPaused)
        .function("isFinished", &PageLesson::isFinished)
        .function("endColumn", &PageLesson::endColumn)
        .function("markedStartLine", &PageLesson::markedStartLine)
        .function("nextDue", &PageLesson::nextDue)
        .function("rungs", &PageLesson::rungs)
        .function("path", &PageLesson::path)
        .function("pathEnd", &PageLesson::pathEnd);
    emscripten::function("lessonLimits", &lessonLimits);
    emscripten::function("lessonPathLook", &lessonPathLook);
    emscripten::function("lessonCue", &lessonCue);
    emscripten::function("lessonRoomSpeed", &lessonRoomSpeed);
    emscripten::function("crowdedRungsNote", &crowdedRungsNote);
    emscripten::function("lessonTakesKey", &lessonTakesKey);
    emscripten::function("pageConstants", &pageConstants);
    emscripten::function("rungCountOf", &rungCountOf);
    emscripten::function("recordHeader", &header);
    emscripten::function("windowTexts", &windowTexts);
}
