#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "record_gate.h"
#include "window_model.h"

class QLabel;
class QPushButton;

namespace tanabashigo {

class Dialogs;
class PictureBox;
class SoundCues;

/// How a classroom runs the main window; the defaults are the window as designed.
struct Form1Options {
    int tickMs = 3;  ///< period of the ladder's and the path's ticks
    /// A trial is never cut short and its landing stays at least 2 s (see TrialPace); without
    /// it a trial starts every 5 s whatever the trial before is doing.
    bool paced = false;
    LandingRecorder* recorder = nullptr;  ///< keeps every landing when set; must outlive the window
    std::function<std::int64_t()> clockMs;  ///< steady milliseconds; the machine's when empty
    std::int64_t nextTrialMs = WindowOptions{}.nextTrialMs;  ///< shorter only to soak the window
};

/// The main window: the ladder surface, the landing markers and the buttons.
///
/// Every behaviour is a handler named after its control and event. The window is loaded
/// when constructed (Form_Load runs then) and activated once after it is first shown
/// (Form_Activate asks for the rung count). Command1_Click starts a trial. The buttons' rules,
/// the ladder, tracing and next-trial timers and the experiment live in `WindowModel`; this
/// class wakes when the model's next tick is due (Ticks_Timer), turns what the model answers
/// into drawing and control changes, and keeps each landing in the record before its marker
/// shows.
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
    const Experiment& experiment() const { return model_.experiment(); }
    const WindowModel& model() const { return model_; }

    QPushButton* Command1 = nullptr;  ///< start the trials
    QPushButton* Command2 = nullptr;  ///< draw; never shown
    QPushButton* Command3 = nullptr;  ///< quit
    QPushButton* Command4 = nullptr;  ///< initialise
    QPushButton* Command5 = nullptr;  ///< stop
    QPushButton* Command6 = nullptr;  ///< help
    QLabel* Label1 = nullptr;         ///< the rung being generated
    QLabel* Label2 = nullptr;         ///< the title
    QWidget* Line1 = nullptr;         ///< the rule under the top row
    PictureBox* Picture1 = nullptr;   ///< the ladder surface
    QWidget* Picture2 = nullptr;      ///< the red start mark above line 3
    QTimer Ticks;                     ///< wakes when the model's next tick is due
    QTimer Retry;                     ///< tries again a landing the record file held back

signals:
    /// The user confirmed quitting: end the program now, with status 0.
    void endRequested();
    /// HELP: unload this window and show the help window.
    void helpRequested();

public slots:
    void Form_Load();
    void Form_Activate();
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Ticks_Timer();
    void Retry_Timer();

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
    /// Draws `events`; false when they end at a landing that is not shown yet.
    bool apply(const std::vector<WindowEvent>& events);
    /// Hands a landing to the record; it shows once kept.
    bool keep(WindowEvent landing, RecordGate::State state);
    /// The landing waiting is in the record: its marker shows, or the experiment ends.
    void showLanding(WindowEvent landing);
    /// The record refused the landing waiting: the trials stop and the window says why.
    void refuse();
    /// The buttons as the model has them, and the wake for its next tick.
    void sync();

    WindowModel model_;
    Dialogs& dialogs_;
    SoundCues& sounds_;
    Form1Options options_;
    RecordGate gate_;
    QString Answer;
    bool activationScheduled_ = false;
    bool unloading_ = false;  ///< closed, or the program is ending: nothing new starts
    MarkerArray o1{}, o2{}, o3{}, o4{}, o5{}, o6{}, o7{}, o8{}, o9{}, o10{};
    std::array<MarkerArray*, 10> markerColumns_{&o1, &o2, &o3, &o4, &o5, &o6, &o7, &o8, &o9, &o10};
};

}  // namespace tanabashigo
