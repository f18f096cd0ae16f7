#include "lesson.h"

#include <algorithm>
#include <cstdlib>

namespace tanabashigo {

Lesson::Lesson(std::uint32_t seed) : random_(seed) {
    experiment_.load();
}

void Lesson::setRungCount(int rungs) {
    rungCount_ = std::clamp(rungs, 0, Ladder::kCapacity);
}

void Lesson::setStartLine(int line) {
    startLine_ = std::clamp(line, 1, kLineCount);
}

void Lesson::setSpeed(int speed) {
    speed_ = std::clamp(speed, kSlowestSpeed, kFastestSpeed);
}

std::vector<LessonEvent> Lesson::start(double nowMs) {
    std::vector<LessonEvent> events;
    if (paused_) {
        resume(nowMs);
    } else if (!running_ && !isFinished()) {
        running_ = true;
        trialOpen_ = false;
        applyPending(nowMs, events);
    }
    return events;
}

void Lesson::stop() {
    running_ = false;
    paused_ = false;
    trialOpen_ = false;
    resumeAfterQuestion_ = false;
}

void Lesson::holdForQuestion(double nowMs) {
    if (running_ && !paused_) {
        pause(nowMs);
        resumeAfterQuestion_ = true;
    }
}

void Lesson::questionAnswered(double nowMs) {
    if (resumeAfterQuestion_) {
        resumeAfterQuestion_ = false;
        resume(nowMs);
    }
}

void Lesson::pause(double nowMs) {
    if (running_ && !paused_) {
        paused_ = true;
        pausedWaitMs_ = std::clamp(nowMs - waitStartMs_, 0.0, pendingWaitMs());
    }
}

void Lesson::resume(double nowMs) {
    if (paused_) {
        paused_ = false;
        waitStartMs_ = nowMs - std::min(pausedWaitMs_, pendingWaitMs());
    }
}

std::vector<LessonEvent> Lesson::step(double nowMs) {
    std::vector<LessonEvent> events;
    if (isFinished()) {
        return events;
    }
    running_ = true;
    paused_ = true;
    if (pendingMove() == Move::StartTrial) {
        applyPending(nowMs, events);
    }
    applyPending(nowMs, events);
    pausedWaitMs_ = 0;
    return events;
}

void Lesson::initialise() {
    if (experiment_.tally().total() > 0) {
        prediction_ = {};
    }
    experiment_.initialise();
    trial_ = 0;
    endColumn_ = 0;
    path_.clear();
    stop();
}

bool Lesson::setHands(int column, int hands) {
    if (!predictionOpen() || column < 1 || column > kLineCount) {
        return false;
    }
    prediction_.hands[column] = std::clamp(hands, 0, ClassPrediction::kMostHands);
    return true;
}

std::vector<LessonEvent> Lesson::advance(double nowMs) {
    std::vector<LessonEvent> events;
    if (!running_ || paused_) {
        return events;
    }
    if (nowMs - nextDueMs() > kMostCatchUpMs) {
        waitStartMs_ += nowMs - nextDueMs();
    }
    for (double due = nextDueMs(); due != kNothingDue && due <= nowMs; due = nextDueMs()) {
        applyPending(due, events);
        if (events.back().kind == LessonEvent::Kind::Landed) {
            break;  // the caller keeps the landing before anything follows it
        }
    }
    return events;
}

std::vector<int> Lesson::counts() const {
    std::vector<int> result;
    for (int column = 1; column <= kLineCount; ++column) {
        result.push_back(count(column));
    }
    return result;
}

int Lesson::markedStartLine() const {
    if (trial_ > 0) {
        return trialStartLine();
    }
    return startLineChoice_ == StartLineChoice::InTurn ? 1 : startLine_;
}

std::vector<Rung> Lesson::rungs() const {
    std::vector<Rung> result;
    for (int i = 1; i < experiment_.ladder().rungNo(); ++i) {
        result.push_back(experiment_.ladder().rung(i));
    }
    return result;
}

double Lesson::nextDueMs() const {
    if (!running_ || paused_ || pendingMove() == Move::None) {
        return kNothingDue;
    }
    return waitStartMs_ + pendingWaitMs();
}

Lesson::Move Lesson::pendingMove() const {
    if (isFinished()) {
        return Move::None;
    }
    if (!trialOpen_) {
        return Move::StartTrial;
    }
    return experiment_.ladder().isComplete() ? Move::StepPath : Move::PlaceRung;
}

double Lesson::pendingWaitMs() const {
    const LessonPace& pace = lessonPace(speed_);
    switch (pendingMove()) {
        case Move::StartTrial:
            return pace.landingMs;
        case Move::PlaceRung:
            return pace.rungMs;
        case Move::StepPath: {
            Tracer next = experiment_.tracer();
            const TraceTick tick = next.tick(experiment_.ladder());
            const int length =
                tick.down.y2 - tick.down.y1 + std::abs(tick.across.x2 - tick.across.x1);
            return pace.pathUnitMs * length;
        }
        case Move::None:
            break;
    }
    return 0;
}

void Lesson::applyPending(double atMs, std::vector<LessonEvent>& events) {
    switch (pendingMove()) {
        case Move::StartTrial:
            startTrial(atMs, events);
            break;
        case Move::PlaceRung:
            placeRung(atMs, events);
            break;
        case Move::StepPath:
            stepPath(atMs, events);
            break;
        case Move::None:
            return;
    }
    waitStartMs_ = atMs;
}

void Lesson::startTrial(double atMs, std::vector<LessonEvent>& events) {
    experiment_.setRungCount(rungCount_);
    experiment_.setStartLine(nextStartLine());
    experiment_.startTrial();
    path_.clear();
    trialOpen_ = true;
    ++trial_;
    events.push_back({.kind = LessonEvent::Kind::TrialStarted, .atMs = atMs, .trial = trial_});
}

int Lesson::nextStartLine() {
    switch (startLineChoice_) {
        case StartLineChoice::InTurn:
            return trial_ % kLineCount + 1;
        case StartLineChoice::AtRandom:
            return random_.nextBelow(kLineCount) + 1;
        case StartLineChoice::Same:
            break;
    }
    return startLine_;
}

void Lesson::placeRung(double atMs, std::vector<LessonEvent>& events) {
    LadderTick tick = experiment_.ladderTick();
    while (tick.kind == LadderTick::Kind::Rejected) {
        tick = experiment_.ladderTick();
    }
    events.push_back({.kind = LessonEvent::Kind::RungPlaced,
                      .atMs = atMs,
                      .trial = trial_,
                      .rungNo = tick.label,
                      .gap = tick.rung.x1,
                      .height = tick.rung.y1});
}

void Lesson::stepPath(double atMs, std::vector<LessonEvent>& events) {
    const Experiment::TraceStep step = experiment_.traceTick();
    LessonEvent event{.kind = LessonEvent::Kind::PathMoved,
                      .atMs = atMs,
                      .trial = trial_,
                      .down = step.move.down,
                      .across = step.move.across};
    path_.push_back(step.move.down);
    if (step.move.kind == TraceTick::Kind::Moved) {
        path_.push_back(step.move.across);
    } else {
        trialOpen_ = false;
        event.column = step.landing.column;
        if (step.landing.kind == Landing::Kind::Counted) {
            event.kind = LessonEvent::Kind::Landed;
            event.count = step.landing.marker;
        } else {
            event.kind = LessonEvent::Kind::Ended;
            event.count = Tally::kColumnCapacity + 1;
            endColumn_ = step.landing.column;
            running_ = false;
            paused_ = false;
        }
        event.across = {};
        event.entry = step.entry;
    }
    events.push_back(event);
}

}  // namespace tanabashigo
