#pragma once

#include <QList>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <functional>

#include "dialogs.h"
#include "form1.h"
#include "sound_cues.h"

/// Modal boxes answered from a script. An answer "<cancel>" cancels the input box; when the
/// script runs out the input box answers `fallbackAnswer` and the yes/no box answers No.
class ScriptedDialogs final : public tanabashigo::Dialogs {
public:
    QStringList answers;
    QList<bool> replies;
    QString fallbackAnswer = QStringLiteral("30");
    int prompts = 0;
    int questions = 0;
    QStringList warnings;
    std::function<void()> whileAsked;  ///< runs while a yes/no box is open, when set

    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        ++prompts;
        const QString answer = answers.isEmpty() ? fallbackAnswer : answers.takeFirst();
        return answer == QLatin1String("<cancel>") ? QString() : answer;
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override {
        ++questions;
        if (whileAsked) {
            whileAsked();
        }
        return !replies.isEmpty() && replies.takeFirst();
    }
    void warn(QWidget*, const QString& text, const QString&) override { warnings << text; }
};

/// Sound cues written down instead of played.
class RecordedSounds final : public tanabashigo::SoundCues {
public:
    QStringList played;
    void play(const QString& fileName) override { played << fileName; }
};

/// The clock of the windows under test, moved on by the ticks they run.
inline std::int64_t& testNow() {
    static std::int64_t now = 0;
    return now;
}

/// A window's options with ticks of `tickMs`, keeping its landings with `recorder`, on the
/// test clock.
inline tanabashigo::Form1Options onTestClock(int tickMs = 3,
                                             tanabashigo::LandingRecorder* recorder = nullptr) {
    tanabashigo::Form1Options options;
    options.tickMs = tickMs;
    options.recorder = recorder;
    options.clockMs = [] { return testNow(); };
    return options;
}

/// Moves the test clock on to the window's next tick and runs it; false when none is due.
inline bool tick(tanabashigo::Form1& form) {
    const std::optional<std::int64_t> due = form.model().nextDue();
    if (!due) {
        return false;
    }
    testNow() = std::max(testNow(), *due);
    form.Ticks_Timer();
    return true;
}

/// Runs ticks while `timer` runs.
inline void tickWhile(tanabashigo::Form1& form, tanabashigo::WindowTimer timer) {
    while (form.model().isRunning(timer) && tick(form)) {
    }
}

/// Runs ladder ticks until the ladder is complete.
inline void buildLadder(tanabashigo::Form1& form) {
    tickWhile(form, tanabashigo::WindowTimer::Ladder);
}

/// Runs tracing ticks until the path has landed.
inline void tracePath(tanabashigo::Form1& form) {
    tickWhile(form, tanabashigo::WindowTimer::Trace);
}

/// Markers shown in landing column k, as the list of their indices.
inline QList<int> visibleMarkers(const tanabashigo::Form1& form, int k) {
    QList<int> shown;
    for (int i = 1; i <= 20; ++i) {
        if (!form.o(k)[i]->isHidden()) {
            shown << i;
        }
    }
    return shown;
}
