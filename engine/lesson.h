#pragma once

#include <cstdint>
#include <vector>

#include "class_prediction.h"
#include "experiment.h"
#include "lesson_event.h"
#include "lesson_pace.h"
#include "random_source.h"

namespace tanabashigo {

/// How each trial of a lesson finds its start line.
enum class StartLineChoice {
    Same,      ///< いつも同じ線: the start line set
    InTurn,    ///< 順番に: trial k from line ((k - 1) mod 10) + 1, so ten trials take every line
    AtRandom,  ///< でたらめに: drawn from the lesson's random source, as fixed by its seed
};

/// The experiment paced by a teacher: trials run on a clock the front end passes in, and can
/// be paused, stepped and sped up or slowed down at any moment.
///
/// Every time argument is milliseconds on one steady clock of the front end's choosing; it
/// never goes backwards. Nothing happens between calls: advance(now) applies every move due by
/// `now`, in order, and returns them. A front end calls it from its frame or timer callback and
/// may sleep until nextDueMs(). Given the same seed, settings and call sequence, the same
/// events come out, whatever the platform.
///
/// A move is a trial start, one rung placed or one path step. Each waits its pace
/// (lesson_pace.h) after the move before it; a pause freezes that wait where it stands. A clock
/// that jumps far ahead (a hidden browser tab, a suspended machine) does not replay the missed
/// moves: the wait in progress ends at once and the lesson carries on from there.
class Lesson {
public:
    /// A gap between due time and clock longer than this is absorbed instead of caught up.
    static constexpr double kMostCatchUpMs = 1000;
    /// nextDueMs() when nothing is due (stopped, paused or finished).
    static constexpr double kNothingDue = -1;

    /// A lesson at 10 rungs from line 3, at kDefaultSpeed; `seed` fixes every ladder.
    explicit Lesson(std::uint32_t seed);

    /// Rungs per ladder, 0..Ladder::kCapacity (clamped); from the next trial on.
    void setRungCount(int rungs);
    /// The start line, 1..10 (clamped); from the next trial on.
    void setStartLine(int line);
    /// How the start line of each trial is found, from the next trial on.
    void setStartLineChoice(StartLineChoice choice) { startLineChoice_ = choice; }
    /// Speed kSlowestSpeed..kFastestSpeed (clamped), applied to the wait in progress at once.
    void setSpeed(int speed);

    /// Runs the trials from `nowMs`: a new trial starts at once, unless the lesson is paused
    /// (then it resumes) or finished (then nothing happens).
    std::vector<LessonEvent> start(double nowMs);
    /// Stops the trials; the ladder and path stay as they are, the next start begins a new trial.
    void stop();
    /// Holds every move where it is; nothing happens until resume() (step() still steps).
    void pause(double nowMs);
    /// Carries on with the rest of the wait that pause() froze (none left if the speed changed
    /// meanwhile to a shorter wait than had passed).
    void resume(double nowMs);
    /// Exactly one rung placed or one path step (preceded by the start of a new trial when
    /// none is open), then paused. Nothing once finished.
    std::vector<LessonEvent> step(double nowMs);
    /// A new experiment: tally, trial number, ladder and path cleared, stopped; settings kept.
    /// The prediction goes with the tally once a landing was counted; before that it stays
    /// for the experiment about to run.
    void initialise();
    /// Sets the hands raised for `column` (1..10), kept within 0..kMostHands, while the
    /// prediction is open; false, and nothing changed, once it is locked.
    bool setHands(int column, int hands);
    /// Every move due by `nowMs`, in order, up to a landing: call again for the rest.
    std::vector<LessonEvent> advance(double nowMs);
    /// A question is open in front of the lesson: every move waits, as if paused.
    void holdForQuestion(double nowMs);
    /// The question is answered: trials that ran before it go on from where they were, unless
    /// the answer cleared or stopped them meanwhile.
    void questionAnswered(double nowMs);

    int rungCount() const { return rungCount_; }
    int startLine() const { return startLine_; }
    StartLineChoice startLineChoice() const { return startLineChoice_; }
    int speed() const { return speed_; }
    /// Landings counted in column 1..10.
    int count(int column) const { return experiment_.tally()(column); }
    /// Counts of columns 1..10, in order.
    std::vector<int> counts() const;
    /// The class's prediction for this experiment.
    const ClassPrediction& prediction() const { return prediction_; }
    /// Whether the prediction may still change: no trial of this experiment has started.
    bool predictionOpen() const { return trial_ == 0; }
    /// The number of the trial on view, 0 before the first.
    int trial() const { return trial_; }
    /// Whether the clock drives moves (started and not stopped; also while paused).
    bool isRunning() const { return running_; }
    bool isPaused() const { return paused_; }
    bool isFinished() const { return experiment_.isFinished(); }
    /// The column whose full stack ended the experiment, 0 while it runs.
    int endColumn() const { return endColumn_; }
    /// The rungs placed so far in the trial on view, in order.
    std::vector<Rung> rungs() const;
    /// The path so far in the trial on view: runs down and rungs crossed, in order.
    const std::vector<Segment>& path() const { return path_; }
    /// The rung count of the trial on view.
    int trialRungCount() const { return experiment_.ladder().rungCount(); }
    /// The start line of the trial on view.
    int trialStartLine() const { return experiment_.tracer().startLine(); }
    /// The start line the picture marks: the trial's on view; before the first, the one it
    /// takes when that is known (line 1 in turn), else the line set.
    int markedStartLine() const;
    /// When the next move is due, or kNothingDue.
    double nextDueMs() const;

private:
    enum class Move { StartTrial, PlaceRung, StepPath, None };

    Move pendingMove() const;
    /// How long the pending move waits at the current speed.
    double pendingWaitMs() const;
    /// Applies the pending move at `atMs` and starts the wait for the one after it.
    void applyPending(double atMs, std::vector<LessonEvent>& events);
    void startTrial(double atMs, std::vector<LessonEvent>& events);
    /// The start line of the trial that starts now, the trial before it numbered `trial_`.
    int nextStartLine();
    void placeRung(double atMs, std::vector<LessonEvent>& events);
    void stepPath(double atMs, std::vector<LessonEvent>& events);

    RandomSource random_;
    Experiment experiment_{random_};
    int rungCount_ = kMinRungs;
    int startLine_ = 3;
    StartLineChoice startLineChoice_ = StartLineChoice::Same;
    int speed_ = kDefaultSpeed;
    int trial_ = 0;
    int endColumn_ = 0;
    bool trialOpen_ = false;  ///< a trial started and not yet landed
    bool running_ = false;
    bool paused_ = false;
    bool resumeAfterQuestion_ = false;  ///< a question paused trials that ran
    double waitStartMs_ = 0;            ///< when the wait for the pending move began (running)
    double pausedWaitMs_ = 0;           ///< how much of that wait had passed when paused
    std::vector<Segment> path_;
    ClassPrediction prediction_;
};

}  // namespace tanabashigo
