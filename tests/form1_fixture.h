#pragma once

#include <QList>
#include <QPushButton>
#include <QStringList>

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

    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        ++prompts;
        const QString answer = answers.isEmpty() ? fallbackAnswer : answers.takeFirst();
        return answer == QLatin1String("<cancel>") ? QString() : answer;
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override {
        ++questions;
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

/// Runs ladder ticks until the ladder timer stops itself (the ladder is complete).
inline void buildLadder(tanabashigo::Form1& form) {
    while (form.Timer1.isActive()) {
        form.Timer1_Timer();
    }
}

/// Runs tracing ticks until the path has landed.
inline void tracePath(tanabashigo::Form1& form) {
    while (form.Timer2.isActive()) {
        form.Timer2_Timer();
    }
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
