#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "due_timer.h"
#include "experiment.h"
#include "landing_entry.h"

namespace tanabashigo {

/// Which of the experiment window's buttons can be pressed.
struct WindowControls {
    bool start = true;        ///< たなばしご作成・抽選の開始
    bool quit = true;         ///< 終了
    bool initialise = false;  ///< 初期化
    bool stop = true;         ///< 停止
    bool help = true;         ///< HELP
    bool operator==(const WindowControls&) const = default;
};

/// One change the window shows, in the order it happens.
struct WindowEvent {
    enum class Kind {
        Cleared,     ///< the surface is cleared to the empty ladder and the rung number emptied
        RungNumber,  ///< `number` is the rung being generated
        LadderLine,  ///< `line` is drawn in the ladder's black
        PathLine,    ///< `line` is drawn in the path's light red
        Counted,     ///< marker `number` of `column` shows: the tally went up
        Finished,    ///< a landing found `column` full: the experiment is over
    };
    Kind kind = Kind::Cleared;
    Segment line{};
    int number = 0;
    int column = 0;
    LandingEntry entry{};  ///< Counted, Finished: the landing as the record keeps it
    bool operator==(const WindowEvent&) const = default;
};

/// The experiment window without its widgets: the buttons' enabled states, the ladder, tracing
/// and next-trial timers, and what every handler and tick does to the experiment.
///
/// Time is whatever steady millisecond clock the caller reads; advance() applies every tick
/// due by then, so a front end may call it once a frame. Delays longer than
/// kLongestCatchUpMs (a hidden browser tab, a suspended laptop) are skipped, not replayed.
class WindowModel {
public:
    static constexpr std::int64_t kNextTrialMs = 5000;
    static constexpr std::int64_t kLongestCatchUpMs = 250;

    /// `random` must outlive the model; `tickMs` is the period of ladder and tracing ticks.
    explicit WindowModel(RandomSource& random, int tickMs = 3);

    /// The window loads: the reset steps with the tally, and the buttons as designed.
    void load();
    /// The window is shown: the buttons that wait for the rung count are disabled.
    void activate();
    /// The prompt was answered with `rungs` (10..50): the trials can start.
    void rungCountChosen(int rungs);
    /// 開始, and each next trial: a fresh ladder starts building at `now`.
    std::vector<WindowEvent> start(std::int64_t now);
    /// 停止: every timer stops; the drawing and the tally stay.
    void stop();
    /// 初期化 up to its prompt: the tally and the surface are cleared.
    std::vector<WindowEvent> initialise();
    /// Every tick due by `now`, in order; it returns early after a landing, so that the caller
    /// can keep the landing before it shows (call again for the rest).
    std::vector<WindowEvent> advance(std::int64_t now);

    const WindowControls& controls() const { return controls_; }
    const Experiment& experiment() const { return experiment_; }
    /// When the next tick is due, if a timer runs.
    std::optional<std::int64_t> nextDue() const;

private:
    void startAt(std::int64_t now, std::vector<WindowEvent>& events);
    void ladderTick(std::int64_t now, std::vector<WindowEvent>& events);
    /// One tracing tick; true when the path landed.
    bool traceTick(std::vector<WindowEvent>& events);
    void stopTimers();
    /// Moves every running timer later by the time beyond kLongestCatchUpMs it is late.
    void skipLongDelay(std::int64_t now);

    Experiment experiment_;
    WindowControls controls_;
    DueTimer ladderTimer_;
    DueTimer traceTimer_;
    DueTimer nextTrialTimer_{kNextTrialMs};
};

}  // namespace tanabashigo
