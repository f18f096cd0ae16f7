#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "experiment.h"
#include "trial_pace.h"

class QLabel;
class QPushButton;

namespace tanabashigo {

class Dialogs;
class LandingRecorder;
class PictureBox;
class SoundCues;

/// How a classroom runs the main window; the defaults are the window as designed.
struct Form1Options {
    int tickMs = 3;  ///< period of Timer1 and Timer2
    /// A trial is never cut short and its landing stays at least 2 s (see TrialPace); without
    /// it Timer3 starts a trial every 5 s whatever the trial before is doing.
    bool paced = false;
    LandingRecorder* recorder = nullptr;  ///< keeps every landing when set; must outlive the window
    std::function<std::int64_t()> clockMs;  ///< steady milliseconds; the machine's when empty
};

/// The main window: the ladder surface, the landing markers, the buttons and the three
/// timers that drive the trials.
///
/// Every behaviour is a handler named after its control and event. The window is loaded
/// when constructed (Form_Load runs then) and activated once after it is first shown
/// (Form_Activate asks for the rung count). Command1_Click starts a trial and arms Timer1
/// (ladder building) and Timer3 (the next trial, every 5 s); Timer1_Timer hands over to
/// Command2_Click when the ladder is complete, which arms Timer2 (path tracing) until the
/// path lands. The experiment state and its rules live in `Experiment`; this class turns
/// what the engine answers into drawing and control changes.
class Form1 : public QWidget {
    Q_OBJECT
public:
    using MarkerArray = std::array<QWidget*, 21>;  ///< elements 1..20, 1 the lowest

    /// `random`, `dialogs` and `sounds` must outlive the window.
    Form1(RandomSource& random, Dialogs& dialogs, SoundCues& sounds, Form1Options options = {},
          QWidget* parent = nullptr);
    ~Form1() override;

    /// The largest layout zoom, 1 to 4 in steps of 0.05, at which the window with `frame`
    /// pixels of window frame around it fits in `available`; 1 when even that does not fit.
    static double zoomToFit(QSize available, QSize frame);

    /// Marker array o1 .. o10 of landing column k (1..10).
    const MarkerArray& o(int k) const { return *markerColumns_[k - 1]; }
    const Experiment& experiment() const { return experiment_; }

    QPushButton* Command1 = nullptr;  ///< start the trials
    QPushButton* Command2 = nullptr;  ///< start tracing; never shown
    QPushButton* Command3 = nullptr;  ///< quit
    QPushButton* Command4 = nullptr;  ///< initialise
    QPushButton* Command5 = nullptr;  ///< stop
    QPushButton* Command6 = nullptr;  ///< help
    QLabel* Label1 = nullptr;         ///< the rung being generated
    QLabel* Label2 = nullptr;         ///< the title
    QWidget* Line1 = nullptr;         ///< the rule under the top row
    PictureBox* Picture1 = nullptr;   ///< the ladder surface
    QWidget* Picture2 = nullptr;      ///< the red start mark above line 3
    QTimer Timer1;                    ///< ladder building, one rung per tick
    QTimer Timer2;                    ///< path tracing, one rung per tick
    QTimer Timer3;                    ///< the next trial
    QTimer NextTrial;                 ///< paced only: a next trial held back for a landing

signals:
    /// The user confirmed quitting: end the program now, with status 0.
    void endRequested();
    /// HELP: unload this window and show the help window.
    void helpRequested();

public slots:
    void Form_Load();
    void Form_Activate();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void NextTrial_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMarkers();
    void setTabOrder();
    void connectButtons();
    void setUpTimers();
    /// Asks until a rung count is set (true), or the user chose to quit or the window went
    /// away meanwhile (false: the caller returns at once).
    bool askRungCount();
    /// Marks the window as leaving and asks the program to end.
    void endProgram();
    void drawEmptyLadder();
    void drawSegment(const Segment& segment, const QColor& colour);
    void hideAllMarkers();
    void describeTally();
    /// Keeps a landing with the recorder, if there is one: false, with the trials stopped and
    /// the reason shown, when it could not be kept.
    bool record(const Landing& landing, const LandingEntry& entry);
    /// Shows a recorded landing: its marker, or the end of the experiment.
    void showLanding(const Landing& landing);
    /// Stops all three timers and a held-back trial.
    void stopTimers();

    Experiment experiment_;
    Dialogs& dialogs_;
    SoundCues& sounds_;
    Form1Options options_;
    TrialPace pace_;
    QString Answer;
    /// Counted, but not yet in the record: not shown.
    std::optional<std::pair<Landing, LandingEntry>> unrecorded_;
    bool activationScheduled_ = false;
    bool unloading_ = false;  ///< closed, or the program is ending: nothing new starts
    MarkerArray o1{}, o2{}, o3{}, o4{}, o5{}, o6{}, o7{}, o8{}, o9{}, o10{};
    std::array<MarkerArray*, 10> markerColumns_{&o1, &o2, &o3, &o4, &o5, &o6, &o7, &o8, &o9, &o10};
};

}  // namespace tanabashigo
