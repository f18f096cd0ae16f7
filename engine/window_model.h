#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "due_timer.h"
#include "experiment.h"
#include "landing_entry.h"
#include "trial_pace.h"

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

/// How a classroom runs the experiment window; the defaults are the window as designed.
struct WindowOptions {
    int tickMs = 3;  ///< the period of ladder and tracing ticks
    /// A trial is never cut short and its landing stays at least 2 s (see TrialPace); without
    /// it a trial starts every 5 s whatever the trial before is doing.
    bool paced = false;
    std::int64_t nextTrialMs = 5000;  ///< between trials; shorter only to soak the window
};

/// The window's timers: the ladder's and the path's ticks, the next trial every 5 s, and, when
/// paced, a next trial held back for a landing.
enum class WindowTimer { Ladder, Trace, NextTrial, HeldTrial };

/// The experiment window without its widgets: the buttons' enabled states, the ladder, tracing
/// and next-trial timers, and what every handler and tick does to the experiment.
///
/// Time is whatever steady millisecond clock the caller reads; advance() applies every tick
/// due by then, so a front end may call it once a frame or wake at nextDue(). Delays longer
/// than kLongestCatchUpMs (a hidden browser tab, a suspended laptop) are skipped, not replayed.
///
/// No marker shows without its record line: advance() stops at a landing, which waits until
/// the front end says it was kept (it shows, the trials go on) or refused (the trials stop and
/// the landing is held until the next start offers it again).
class WindowModel {
public:
    static constexpr std::int64_t kNextTrialMs = WindowOptions{}.nextTrialMs;
    static constexpr std::int64_t kLongestCatchUpMs = 250;

    /// `random` must outlive the model.
    explicit WindowModel(RandomSource& random, WindowOptions options = {});

    /// The window loads: the reset steps with the tally, and the buttons as designed.
    void load();
    /// The window is shown: the buttons that wait for the rung count are disabled.
    void activate();
    /// The prompt was answered with `rungs` (10..50): the trials can start.
    void rungCountChosen(int rungs);
    /// 開始, and each next trial: a fresh ladder starts building at `now`. When a refused
    /// landing is held, it answers that landing alone, to be kept first.
    std::vector<WindowEvent> start(std::int64_t now);
    /// 停止: every timer stops; the drawing and the tally stay.
    void stop();
    /// 初期化 up to its prompt: the tally and the surface are cleared.
    std::vector<WindowEvent> initialise();
    /// Every tick due by `now`, in order; it returns early after a landing, so that the caller
    /// can keep the landing before it shows, and nothing while a landing waits.
    std::vector<WindowEvent> advance(std::int64_t now);
    /// The landing waiting is in the record at `now`: it shows and the trials go on.
    void landingKept(std::int64_t now);
    /// The landing waiting could not be kept: the trials stop as on 停止, and the landing is
    /// held, unshown, until start() offers it again.
    void landingRefused();
    /// The landing that waits to be kept or is held after a refusal.
    const std::optional<WindowEvent>& unkept() const { return unkept_; }

    const WindowControls& controls() const { return controls_; }
    const Experiment& experiment() const { return experiment_; }
    /// When the next tick is due, if a timer runs and no landing waits.
    std::optional<std::int64_t> nextDue() const;
    /// The timer that ticks next, if one runs.
    std::optional<WindowTimer> nextTimer() const;
    /// Whether `timer` runs.
    bool isRunning(WindowTimer timer) const { return timerOf(timer).enabled; }

private:
    void startAt(std::int64_t now, std::vector<WindowEvent>& events);
    /// The next trial falls due at `now`: it starts, or waits for the pace.
    void nextTrialDue(std::int64_t now, std::vector<WindowEvent>& events);
    DueTimer& timerOf(WindowTimer timer) { return timers_[static_cast<std::size_t>(timer)]; }
    const DueTimer& timerOf(WindowTimer timer) const {
        return timers_[static_cast<std::size_t>(timer)];
    }
    void ladderTick(std::int64_t now, std::vector<WindowEvent>& events);
    /// One tracing tick; true when the path landed.
    bool traceTick(std::vector<WindowEvent>& events);
    void stopTimers();
    /// Moves every running timer later by the time beyond kLongestCatchUpMs it is late.
    void skipLongDelay(std::int64_t now);

    Experiment experiment_;
    WindowOptions options_;
    WindowControls controls_;
    TrialPace pace_;
    std::optional<WindowEvent> unkept_;
    /// In WindowTimer's order, which is also the order of ticks that fall due together; the
    /// held trial's ticks once and stops.
    std::array<DueTimer, 4> timers_{};
};

}  // namespace tanabashigo
