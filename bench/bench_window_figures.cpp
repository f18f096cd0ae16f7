// The main window's figures, each printed as key=value:
//   startup LAUNCH_NS   ms from launch to the first paint of the rung-count prompt, and RSS
//   cadence RUNGS N     wall time of N trials against their timer ticks at 3 ms each
//   idle SECONDS        CPU use between trials, with the next-trial timer armed
#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "dialogs.h"
#include "form1.h"
#include "process_figures.h"
#include "random_source.h"
#include "sound_cues.h"
#include "window_flow.h"

using namespace tanabashigo;

namespace {

/// The real prompt, closed as soon as it has painted; quitting is then confirmed.
class ProbeDialogs final : public Dialogs, public QObject {
public:
    explicit ProbeDialogs(const char* launch) : launch_(launch) {}
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText) override {
        qApp->installEventFilter(this);
        return real_.inputBox(parent, prompt, title, defaultText);
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    void warn(QWidget*, const QString&, const QString&) override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QInputDialog*>(watched);
        if (box && event->type() == QEvent::Paint) {
            qApp->removeEventFilter(this);
            std::printf("startup_ms=%.1f\nrss_kib=%ld\n", msSinceLaunch(launch_), residentKiB());
            QTimer::singleShot(0, box, &QDialog::reject);
        }
        return false;
    }

private:
    const char* launch_;
    QtDialogs real_;
};

/// Answers every prompt with the same rung count.
class FixedAnswer final : public Dialogs {
public:
    explicit FixedAnswer(int rungs) : answer_(QString::number(rungs)) {}
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        return answer_;
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void warn(QWidget*, const QString&, const QString&) override {}

private:
    QString answer_;
};

class Silence final : public SoundCues {
public:
    void play(const QString&) override {}
};

int startup(int argc, char* argv[], const char* launch) {
    QApplication app(argc, argv);
    RandomSource random(1);
    ProbeDialogs dialogs(launch);
    SoundEffectCues sounds;
    WindowFlow flow(random, dialogs, sounds);
    QObject::connect(&flow, &WindowFlow::endRequested, &app, [] { QCoreApplication::exit(0); });
    flow.showMainWindow();
    return app.exec();
}

/// Runs one trial with the real timers; returns its wall time in ms and adds the times the
/// window woke for its ticks.
double timedTrial(Form1& form, long& ticks) {
    QEventLoop loop;
    long trialTicks = 0;
    const auto countTick = [&] {
        ++trialTicks;
        if (!form.model().isRunning(WindowTimer::Ladder) &&
            !form.model().isRunning(WindowTimer::Trace)) {
            loop.quit();
        }
    };
    auto wakes = QObject::connect(&form.Ticks, &QTimer::timeout, &loop, countTick);
    const auto start = std::chrono::steady_clock::now();
    form.Command1_Click();
    loop.exec();
    const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
    QObject::disconnect(wakes);
    ticks += trialTicks;
    return wall.count();
}

int cadence(int argc, char* argv[], int rungs, int trials) {
    QApplication app(argc, argv);
    RandomSource random(1);
    FixedAnswer dialogs(rungs);
    Silence sounds;
    auto form = std::make_unique<Form1>(random, dialogs, sounds);
    form->show();
    form->Form_Activate();
    double wall = 0.0;
    long ticks = 0;
    for (int i = 0; i < trials; ++i) {
        if (form->experiment().isFinished()) {
            form = std::make_unique<Form1>(random, dialogs, sounds);
            form->show();
            form->Form_Activate();
        }
        wall += timedTrial(*form, ticks);
    }
    std::printf("rungs=%d\ntrials=%d\nticks=%ld\nwall_ms=%.1f\ncadence_ratio=%.3f\n", rungs, trials,
                ticks, wall, wall / (3.0 * double(ticks)));
    return 0;
}

int idle(int argc, char* argv[], int seconds) {
    QApplication app(argc, argv);
    RandomSource random(1);
    FixedAnswer dialogs(10);
    Silence sounds;
    Form1 form(random, dialogs, sounds);
    form.show();
    form.Form_Activate();
    long ticks = 0;
    timedTrial(form, ticks);
    const bool armed = form.model().isRunning(WindowTimer::NextTrial);
    const double cpuBefore = cpuSeconds();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    std::printf("next_trial_armed=%d\nidle_cpu_percent=%.3f\n", armed,
                100.0 * (cpuSeconds() - cpuBefore) / seconds);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "startup") == 0) {
        return startup(argc, argv, argc > 2 ? argv[2] : nullptr);
    }
    if (std::strcmp(mode, "cadence") == 0 && argc > 3) {
        return cadence(argc, argv, std::atoi(argv[2]), std::atoi(argv[3]));
    }
    if (std::strcmp(mode, "idle") == 0 && argc > 2) {
        return idle(argc, argv, std::atoi(argv[2]));
    }
    std::fputs("usage: bench_window_figures startup LAUNCH_NS | cadence RUNGS N | idle SECONDS\n",
               stderr);
    return 2;
}
