// Soak with the real timers: a complete experiment at 10 rungs, then the HELP round trip
// 1,000 times through the window flow, printing resident memory along the way.
// The next-trial timer is shortened (argv[1] ms, default 300) so the experiment ends in
// about half a minute; the 3 ms ladder and tracing timers run as they are.
// The first 500 trips warm the caches; the status is 1 when memory still grows by more than
// kAllowedGrowthKiB over the 500 trips after them (run it on a real X display: the offscreen
// platform keeps no window-system resources and so hides such growth).
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "dialogs.h"
#include "foreign_destroy_watch.h"
#include "form1.h"
#include "form2.h"
#include "process_figures.h"
#include "random_source.h"
#include "sound_cues.h"
#include "window_flow.h"

using namespace tanabashigo;

namespace {

constexpr int kTrips = 1000;
constexpr int kWarmUpTrips = 500;
constexpr long kAllowedGrowthKiB = 512;

class TenRungs final : public Dialogs {
public:
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        return QStringLiteral("10");
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void warn(QWidget*, const QString&, const QString&) override {}
};

/// Lets the event loop run until `done` holds, checking every few milliseconds.
template <typename Done>
void runUntil(Done done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

void report(const char* stage, int count) {
    std::printf("%-34s %6d  rss %7ld KiB  windows %d\n", stage, count, residentKiB(),
                int(QApplication::topLevelWidgets().size()));
    std::fflush(stdout);
}

void completeExperiment(RandomSource& random, Dialogs& dialogs, SoundCues& sounds, int nextMs) {
    Form1Options options;
    options.nextTrialMs = nextMs;
    Form1 form(random, dialogs, sounds, options);
    form.show();
    runUntil([&] { return form.Command1->isEnabled(); });  // activated and prompted
    report("experiment: start, landings", 0);
    form.Command1_Click();
    int reported = 0;
    runUntil([&] {
        const int landings = form.experiment().tally().total();
        if (landings >= reported + 40) {
            reported = landings;
            report("experiment: running, landings", landings);
        }
        return form.experiment().isFinished();
    });
    report("experiment: finished, landings", form.experiment().tally().total());
}

/// The round trips run from a zero-interval timer inside the application's event loop, as
/// clicks would: each tick presses HELP on an activated main window or the help window's
/// close button. Returns the round trips made and the growth of resident memory after the
/// warm-up, in KiB.
std::pair<int, long> helpRoundTrips(RandomSource& random, Dialogs& dialogs, SoundCues& sounds,
                                    int trips) {
    WindowFlow flow(random, dialogs, sounds);
    QTimer pump;
    int trip = 0;
    long warmedUpKiB = 0;
    long growthKiB = 0;
    QObject::connect(&pump, &QTimer::timeout, [&] {
        if (auto* main = qobject_cast<Form1*>(flow.currentWindow())) {
            if (!main->Command1->isEnabled()) {
                return;  // not activated yet
            }
            if (trip % 100 == 0 || trip == 1) {
                report("HELP round trips", trip);
            }
            if (trip == kWarmUpTrips) {
                warmedUpKiB = residentKiB();
            }
            if (trip == trips) {
                growthKiB = residentKiB() - warmedUpKiB;
                QCoreApplication::quit();
                return;
            }
            ++trip;
            main->Command6_Click();
        } else if (auto* help = qobject_cast<Form2*>(flow.currentWindow())) {
            help->Command1_Click();
        }
    });
    flow.showMainWindow();
    pump.start(0);
    QCoreApplication::exec();
    return {trip, growthKiB};
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int nextMs = argc > 1 ? std::atoi(argv[1]) : 300;
    RandomSource random(2026);
    TenRungs dialogs;
    SoundEffectCues sounds;
    ForeignDestroyWatch destroyWatch;  // as in the program: it must not take our own windows
    app.installNativeEventFilter(&destroyWatch);
    report("process start", 0);
    completeExperiment(random, dialogs, sounds, nextMs);
    const auto [trips, growth] = helpRoundTrips(random, dialogs, sounds, kTrips);
    if (trips != kTrips) {
        std::printf("the round trips stopped after %d\n", trips);
        return 1;
    }
    const bool flat = growth <= kAllowedGrowthKiB;
    std::printf("growth over trips %d..%d: %ld KiB (%s, at most %ld KiB allowed)\n", kWarmUpTrips,
                kTrips, growth, flat ? "flat" : "GROWING", kAllowedGrowthKiB);
    return flat ? 0 : 1;
}
