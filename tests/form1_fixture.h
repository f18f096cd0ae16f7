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

    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        ++prompts;
        const QString answer = answers.isEmpty() ? fallbackAnswer : answers.takeFirst();
        return answer == QLatin1String("<cancel>") ? QString() : answer;
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override {
        return !replies.isEmpty() && replies.takeFirst();
    }
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

/// Enabled state of Command1..Command6 as six characters, '1' enabled.
inline QString buttonStates(const tanabashigo::Form1& form) {
    QString states;
    for (const QPushButton* b : {form.Command1, form.Command2, form.Command3, form.Command4,
                                 form.Command5, form.Command6}) {
        states += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    }
    return states;
}

/// Running state of Timer1..Timer3 as three characters, '1' running.
inline QString timerStates(const tanabashigo::Form1& form) {
    QString states;
    for (const QTimer* t : {&form.Timer1, &form.Timer2, &form.Timer3}) {
        states += t->isActive() ? QLatin1Char('1') : QLatin1Char('0');
    }
    return states;
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
