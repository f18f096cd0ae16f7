#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "lesson.h"
#include "record_gate.h"
#include "room_settings.h"
#include "worksheet.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSettings;
class QPushButton;
class QSlider;
class QSpinBox;

namespace tanabashigo {

class Dialogs;
class LandingRecorder;
class LessonSurface;
class TheoryWindow;
class TheoryDialogs;

/// How the lesson window starts.
struct LessonOptions {
    std::optional<int> rungs;   ///< open at this rung count (0..225) without asking for it
    int startLine = 3;          ///< 1..10
    std::uint32_t seed = 1;     ///< fixes every ladder
    int speed = kDefaultSpeed;  ///< kSlowestSpeed..kFastestSpeed
    LandingRecorder* recorder = nullptr;  ///< keeps every landing when set; must outlive the window
    QString recordPath;                   ///< the file the recorder writes, for 理論と実験
    /// The file choosers of the worksheet and 理論と実験; the real ones when null. Must outlive
    /// the window.
    TheoryDialogs* fileDialogs = nullptr;
    std::function<double()> clockMs;  ///< steady milliseconds; the machine's when empty
    QString settingsFile;  ///< an INI file keeping the room's settings; when empty, the user's
                           ///< (tanabashigo/lesson.conf in the configuration folder on Linux)
    std::function<void(const QString&)> playCue;  ///< sounds a cue file by its bare name
};

/// 授業用: the experiment laid out for a projector and paced by the teacher. The surface fills
/// the window; the buttons beside it also answer keys: Enter starts, Space pauses and resumes,
/// → steps, Ctrl+T opens 理論と実験, F11 toggles full screen. For the projector, quiet mode
/// folds the panel away behind one button that brings it back.
///
/// The lesson holds the rules; the window turns the teacher's keys into lesson calls, records
/// each landing, and wakes when the next move is due.
class LessonWindow : public QWidget {
    Q_OBJECT
public:
    /// `dialogs` must outlive the window.
    LessonWindow(Dialogs& dialogs, LessonOptions options, QWidget* parent = nullptr);
    ~LessonWindow() override;

    const Lesson& lesson() const { return lesson_; }
    LessonSurface* surface() const { return surface_; }
    /// The theory window opened by 理論と実験, if it is open.
    TheoryWindow* theoryWindow() const;
    /// The worksheet of the experiment as the record holds it, every landing shown and the one
    /// that ended it; the blank one before the first landing; none while the start line changes.
    std::optional<Worksheet> worksheet() const;

    // What the buttons and keys are connected to.
    void onStart();
    void onPauseOrResume();
    void onStep();
    void onInitialise();
    void onTheory();
    void onHelp();
    /// Asks where to save the worksheet and saves it as PDF; the trials wait meanwhile.
    void onSaveWorksheet();
    void onSpeedChosen(int speed);
    void onRungsChosen(int rungs);
    void onStartLineChosen(int line);
    /// `index` is a StartLineChoice: each trial's start line is found that way.
    void onStartLineChoiceChosen(int index);
    /// Choice `choice` of kPathColours for the path and the markers, remembered.
    void onColoursChosen(int choice);
    /// Chimes at the landings or not, remembered.
    void onSoundChosen(bool on);
    /// Quiet mode on or off: see RoomSettings.
    void onQuietChosen(bool on);
    /// The class's prediction for `column` changes by `change` hands, while it may.
    void onHandsChanged(int column, int change);
    void onFullScreen();
    /// The next move is due.
    void onDue();
    /// The landing held back is tried again.
    void onRetry();

protected:
    /// Enter, Space and → pace the lesson unless the focused control uses them or another
    /// view lies in front.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* controlPanel();
    /// The − and ＋ under each column's prediction bar, on the surface.
    void addHandsButtons();
    /// Puts them where the surface's layout has them.
    void placeHandsButtons();
    void addKeys();
    /// Asks for the rung count until it is one the lesson takes; cancel keeps the one set.
    void askRungCount();
    /// Records the landings among `events`, shows the lesson and sleeps until the next move.
    void take(const std::vector<LessonEvent>& events);
    /// Whether nothing is held back: true at once, or after the held landing is kept now.
    bool release();
    /// The held landing could not be kept: the trials pause and the teacher is told why.
    void refuse();
    /// The held landing is in the record: its marker shows and its chime sounds.
    void landingKept();
    /// Sounds the chime held for the last landing, if the room wants one.
    void playHeldCue();
    /// Whether the tally may be cleared: empty, or the teacher says yes to `question`.
    bool mayClear(const QString& question);
    /// True when no marker stands, else the teacher's answer to `question`; the trials wait
    /// while it is open and go on after a no.
    bool ask(const QString& question, const QString& title);
    /// A question or the help is open: the trials wait.
    void holdForQuestion();
    /// It is answered or closed: trials that ran go on.
    void questionAnswered();
    /// A new experiment: the tally cleared and the recorder told.
    void initialise();
    /// Buttons and boxes as the lesson stands.
    void refresh();
    /// Tells the teacher when the rung count set crowds the ladder at the surface's size.
    void showCrowding();
    double now() const;
    TheoryDialogs& fileDialogs() const;

    Dialogs& dialogs_;
    LessonOptions options_;
    Lesson lesson_;
    QElapsedTimer elapsed_;
    QTimer dueTimer_;
    QTimer retryTimer_;
    RecordGate gate_;
    bool asked_ = false;
    bool recorded_ = false;     ///< a landing went into the record file
    std::string_view heldCue_;  ///< the chime of the landing whose line is not yet written
    bool closing_ = false;      ///< the teacher already agreed to close

    LessonSurface* surface_ = nullptr;
    QWidget* panel_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* stepButton_ = nullptr;
    QSlider* speedSlider_ = nullptr;
    QSpinBox* rungsBox_ = nullptr;
    QSpinBox* startBox_ = nullptr;
    QComboBox* startChoiceBox_ = nullptr;
    QLabel* crowdedNote_ = nullptr;
    QComboBox* coloursBox_ = nullptr;
    QCheckBox* soundBox_ = nullptr;
    QPushButton* panelBack_ = nullptr;  ///< shown in quiet mode, to leave it
    RoomSettings room_;
    std::vector<QPushButton*> handsButtons_;  ///< −, ＋ of column 1, then of column 2, …
    std::unique_ptr<TheoryDialogs> theoryDialogs_;
    QPointer<TheoryWindow> theory_;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tanabashigo
