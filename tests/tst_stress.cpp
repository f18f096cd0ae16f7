#include <QTest>
#include <array>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "form1_fixture.h"

using namespace tanabashigo;

namespace {

enum class Action {
    Start,
    Quit,
    Initialise,
    Stop,
    Help,
    LadderTick,
    TraceTick,
    NextTrial,
    DeadClick
};

/// Buttons and timers expected after an event: Command1..6 enabled, Timer1..3 running.
struct Expected {
    QString buttons;
    QString timers;
};

const Expected kPrompted{"101001", "000"};
const Expected kBuilding{"000010", "101"};
const Expected kTracing{"000010", "011"};
const Expected kBetweenTrials{"000010", "001"};
const Expected kStopped{"101101", "000"};
const Expected kFinished{"001101", "000"};

/// Counts of what a run did, to show it reached every kind of event.
struct Coverage {
    int landings = 0;
    int finishedExperiments = 0;
    int abandonedPaths = 0;
    int quitsConfirmed = 0;
    int quitsDeclined = 0;
    int initialisations = 0;
    int helpRoundTrips = 0;
    int badAnswers = 0;
    int deadClicks = 0;
};

/// A main window driven by random pupils: each step clicks an enabled button, ticks a running
/// timer, or clicks a disabled button, and then checks the window against a model of its own.
class StressRun {
public:
    explicit StressRun(std::uint32_t seed) : rng_(seed), random_(seed) { openWindow(); }

    /// One random step; empty when every invariant holds, else what broke.
    QString step();
    const Coverage& coverage() const { return coverage_; }
    const char* lastEvent() const { return lastEvent_; }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    void openWindow();
    Action pickAction();
    /// Scripts one prompt: some bad answers, then a good one; returns the rungs it asks for.
    int scriptPrompt();
    QString goodAnswer(int rungs);
    QList<QPushButton*> disabledButtons() const;
    /// Whether the next tracing tick finds no rung below the path (and so lands).
    bool pathLandsNext() const;
    void traceTick();
    QString checkWindow() const;

    std::mt19937 rng_;
    RandomSource random_;
    ScriptedDialogs dialogs_;
    RecordedSounds sounds_;
    std::unique_ptr<Form1> form_;
    Expected expected_;
    std::array<int, kLineCount + 1> tally_{};  ///< the model's own count per column
    bool finished_ = false;
    int rungs_ = 0;
    int endRequests_ = 0;
    bool helpRequested_ = false;
    const char* lastEvent_ = "open";
    Coverage coverage_;
};

void StressRun::openWindow() {
    form_.reset();
    form_ = std::make_unique<Form1>(random_, dialogs_, sounds_);
    QObject::connect(form_.get(), &Form1::endRequested, [this] { ++endRequests_; });
    QObject::connect(form_.get(), &Form1::helpRequested, [this] { helpRequested_ = true; });
    rungs_ = scriptPrompt();
    form_->Form_Activate();
    expected_ = kPrompted;
    tally_.fill(0);
    finished_ = false;
}

Action StressRun::pickAction() {
    const Form1& f = *form_;
    const bool trialTicking = f.Timer1.isActive() || f.Timer2.isActive();
    const std::array<std::pair<Action, int>, 9> offers{{
        {Action::Start, f.Command1->isEnabled() ? 20 : 0},
        {Action::Quit, f.Command3->isEnabled() ? 1 : 0},
        {Action::Initialise, f.Command4->isEnabled() ? 2 : 0},
        {Action::Stop, f.Command5->isEnabled() ? 1 : 0},
        {Action::Help, f.Command6->isEnabled() ? 1 : 0},
        {Action::LadderTick, f.Timer1.isActive() ? 1000 : 0},
        {Action::TraceTick, f.Timer2.isActive() ? 1000 : 0},
        {Action::NextTrial, f.Timer3.isActive() ? (trialTicking ? 2 : 30) : 0},
        {Action::DeadClick, disabledButtons().isEmpty() ? 0 : 1},
    }};
    int total = 0;
    for (const auto& offer : offers) {
        total += offer.second;
    }
    int pick = total > 0 ? below(total) : -1;
    for (const auto& [action, weight] : offers) {
        if (pick < weight) {
            return action;
        }
        pick -= weight;
    }
    return Action::DeadClick;  // unreachable while any control or timer can act
}

QString StressRun::goodAnswer(int rungs) {
    const QString digits = QString::number(rungs);
    switch (below(6)) {
        case 0:
            return rungs < kMaxRungs ? digits + QStringLiteral(".75") : digits;
        case 1:
            return digits.left(1) + QStringLiteral(" \t\n").at(below(3)) + digits.mid(1);
        case 2: {
            QString wide;
            for (const QChar c : digits) {
                wide += QChar(c.unicode() - u'0' + 0xFF10);
            }
            return QStringLiteral("\u3000") + wide;
        }
        case 3:
            return digits.left(1) + QLatin1Char('.') + digits.mid(1) + QStringLiteral("E1");
        case 4:
            return digits + QStringLiteral("本");
        default:
            return digits;
    }
}

int StressRun::scriptPrompt() {
    static const QStringList kBad{"9",   "51",    "50.5", "9.99",     "abc",  "   ",
                                  "-30", "1e400", "0",    "たくさん", "５１", "<cancel>"};
    for (int n = below(3); n > 0; --n) {
        const QString answer = kBad.at(below(int(kBad.size())));
        dialogs_.answers << answer;
        if (answer == QLatin1String("<cancel>")) {
            dialogs_.replies << false;
        }
        ++coverage_.badAnswers;
    }
    const int rungs = below(2) == 0 ? kMinRungs + below(6) : kMinRungs + below(41);
    dialogs_.answers << goodAnswer(rungs);
    return rungs;
}

QList<QPushButton*> StressRun::disabledButtons() const {
    QList<QPushButton*> dead;
    for (QPushButton* b :
         {form_->Command1, form_->Command3, form_->Command4, form_->Command5, form_->Command6}) {
        if (!b->isEnabled()) {
            dead << b;
        }
    }
    return dead;
}

bool StressRun::pathLandsNext() const {
    const Ladder& ladder = form_->experiment().ladder();
    const Tracer& tracer = form_->experiment().tracer();
    for (int i = 1; i <= ladder.rungCount(); ++i) {
        const bool touchesLine =
            ladder.rung(i).gap == tracer.TracerX || ladder.rung(i).gap + 1 == tracer.TracerX;
        if (touchesLine && ladder.heightOf(i) > tracer.TracerY) {
            return false;
        }
    }
    return true;
}

void StressRun::traceTick() {
    if (!pathLandsNext()) {
        form_->Timer2_Timer();
        expected_ = kTracing;
        return;
    }
    const int column = columnOfX(form_->experiment().tracer().TracerX);
    form_->Timer2_Timer();
    if (tally_[column] == Tally::kColumnCapacity) {
        finished_ = true;
        ++coverage_.finishedExperiments;
        expected_ = kFinished;
    } else {
        ++tally_[column];
        ++coverage_.landings;
        expected_ = kBetweenTrials;
    }
}

QString StressRun::step() {
    Form1& f = *form_;
    const Action action = pickAction();
    const int promptsBefore = dialogs_.prompts;
    const qsizetype cuesBefore = sounds_.played.size();
    QString cue;  // the sound the event must play, if any
    bool restartedAfterQuit = false;
    switch (action) {
        case Action::Start:
            lastEvent_ = "start";
            QTest::mouseClick(f.Command1, Qt::LeftButton);
            expected_ = kBuilding;
            break;
        case Action::Quit: {
            lastEvent_ = "quit";
            cue = QStringLiteral("endpinpon.wav");
            const bool yes = below(2) == 1;
            dialogs_.replies << yes;
            const int endsBefore = endRequests_;
            QTest::mouseClick(f.Command3, Qt::LeftButton);
            if (endRequests_ != endsBefore + (yes ? 1 : 0)) {
                return QStringLiteral("a quit answered %1 sent %2 end requests")
                    .arg(yes ? "Yes" : "No")
                    .arg(endRequests_ - endsBefore);
            }
            ++(yes ? coverage_.quitsConfirmed : coverage_.quitsDeclined);
            if (yes) {
                openWindow();  // the program ended; the next pupil starts it again
                restartedAfterQuit = true;
            }
            break;
        }
        case Action::Initialise:
            lastEvent_ = "initialise";
            cue = QStringLiteral("pinpon.wav");
            rungs_ = scriptPrompt();
            QTest::mouseClick(f.Command4, Qt::LeftButton);
            expected_ = kPrompted;
            tally_.fill(0);
            finished_ = false;
            ++coverage_.initialisations;
            break;
        case Action::Stop:
            lastEvent_ = "stop";
            QTest::mouseClick(f.Command5, Qt::LeftButton);
            expected_ = kStopped;
            break;
        case Action::Help:
            lastEvent_ = "help";
            cue = QStringLiteral("pinpon.wav");
            helpRequested_ = false;
            QTest::mouseClick(f.Command6, Qt::LeftButton);
            if (!helpRequested_) {
                return QStringLiteral("HELP did not ask for the help window");
            }
            openWindow();  // the help window's close button loads a fresh main window
            ++coverage_.helpRoundTrips;
            break;
        case Action::LadderTick:
            lastEvent_ = "ladder tick";
            expected_ = f.experiment().ladder().isComplete() ? kTracing : kBuilding;
            f.Timer1_Timer();
            break;
        case Action::TraceTick:
            lastEvent_ = "tracing tick";
            traceTick();
            break;
        case Action::NextTrial:
            lastEvent_ = "next trial";
            coverage_.abandonedPaths += f.Timer2.isActive() ? 1 : 0;
            f.Timer3_Timer();
            expected_ = kBuilding;
            break;
        case Action::DeadClick: {
            lastEvent_ = "click on a disabled button";
            const QList<QPushButton*> dead = disabledButtons();
            QTest::mouseClick(dead.at(below(int(dead.size()))), Qt::LeftButton);
            ++coverage_.deadClicks;
            break;
        }
    }
    const bool prompts =
        action == Action::Initialise || action == Action::Help || restartedAfterQuit;
    if (!prompts && dialogs_.prompts != promptsBefore) {
        return QStringLiteral("the rung count was asked for");
    }
    const QStringList cues = sounds_.played.mid(cuesBefore);
    if (cues != (cue.isEmpty() ? QStringList{} : QStringList{cue})) {
        return QStringLiteral("played \"%1\"").arg(cues.join(QLatin1Char(',')));
    }
    if (!dialogs_.answers.isEmpty() || !dialogs_.replies.isEmpty()) {
        return QStringLiteral("%1 answers and %2 replies were never asked for")
            .arg(dialogs_.answers.size())
            .arg(dialogs_.replies.size());
    }
    return checkWindow();
}

QString StressRun::checkWindow() const {
    const Form1& f = *form_;
    const Experiment& experiment = f.experiment();
    if (buttonStates(f) != expected_.buttons || timerStates(f) != expected_.timers) {
        return QStringLiteral("buttons %1 timers %2, expected %3 and %4")
            .arg(buttonStates(f), timerStates(f), expected_.buttons, expected_.timers);
    }
    if (experiment.ladder().rungCount() != rungs_) {
        return QStringLiteral("%1 rungs, the prompt asked for %2")
            .arg(experiment.ladder().rungCount())
            .arg(rungs_);
    }
    if (experiment.isFinished() != finished_) {
        return QStringLiteral("finished is %1").arg(experiment.isFinished());
    }
    int shown = 0;
    for (int k = 1; k <= kLineCount; ++k) {
        const int count = experiment.tally()(k);
        QList<int> lowest;
        for (int i = 1; i <= count && i <= Tally::kColumnCapacity; ++i) {
            lowest << i;
        }
        const QList<int> visible = visibleMarkers(f, k);
        if (count != tally_[k] || count > Tally::kColumnCapacity || visible != lowest) {
            return QStringLiteral("column %1 counts %2 (model %3) and shows %4 markers")
                .arg(k)
                .arg(count)
                .arg(tally_[k])
                .arg(visible.size());
        }
        shown += int(visible.size());
    }
    if (experiment.tally().total() != shown) {
        return QStringLiteral("the tally sums to %1, %2 markers shown")
            .arg(experiment.tally().total())
            .arg(shown);
    }
    if (!f.Command2->isHidden()) {
        return QStringLiteral("the draw button is showing");
    }
    return {};
}

}  // namespace

class StressTest : public QObject {
    Q_OBJECT
private slots:
    void randomPupilsNeverBreakTheWindow_data();
    void randomPupilsNeverBreakTheWindow();
};

void StressTest::randomPupilsNeverBreakTheWindow_data() {
    QTest::addColumn<std::uint32_t>("seed");
    QTest::addColumn<int>("steps");
    QTest::newRow("seed 2026") << std::uint32_t{2026} << 100'000;
    QTest::newRow("seed 7") << std::uint32_t{7} << 100'000;
}

void StressTest::randomPupilsNeverBreakTheWindow() {
    QFETCH(std::uint32_t, seed);
    QFETCH(int, steps);
    StressRun run(seed);
    for (int i = 1; i <= steps; ++i) {
        const QString broken = run.step();
        if (!broken.isEmpty()) {
            QFAIL(qPrintable(QStringLiteral("step %1, after %2: %3")
                                 .arg(i)
                                 .arg(QLatin1String(run.lastEvent()), broken)));
        }
    }
    const Coverage& c = run.coverage();
    qInfo(
        "%d landings, %d finished experiments, %d abandoned paths, %d/%d quits confirmed, "
        "%d initialisations, %d HELP round trips, %d bad answers, %d disabled clicks",
        c.landings, c.finishedExperiments, c.abandonedPaths, c.quitsConfirmed,
        c.quitsConfirmed + c.quitsDeclined, c.initialisations, c.helpRoundTrips, c.badAnswers,
        c.deadClicks);
    QVERIFY(c.finishedExperiments > 0);
    QVERIFY(c.abandonedPaths > 0);
    QVERIFY(c.quitsConfirmed > 0 && c.quitsDeclined > 0);
    QVERIFY(c.initialisations > 0 && c.helpRoundTrips > 0);
    QVERIFY(c.badAnswers > 0 && c.deadClicks > 0);
}

QTEST_MAIN(StressTest)
#include "tst_stress.moc"
