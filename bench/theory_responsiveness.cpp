// How the theory window's event loop fares during a long simulation: the longest gap between
// ticks of a 5 ms timer while 100 million trials run on every core, the time the run takes,
// and how long a cancel takes to be reported. Prints one line per figure.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <thread>

#include "event_loop_gaps.h"
#include "simulation_run.h"

using namespace tanabashigo;

namespace {

struct Figures {
    double longestGapMs = 0.0;
    double runSeconds = 0.0;
    double cancelMs = 0.0;
};

/// Runs `trials` at 50 rungs; cancels after `cancelAfterMs` when it is not negative.
Figures measure(std::uint64_t trials, int cancelAfterMs) {
    SimulationRun run;
    Figures figures;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QElapsedTimer sinceCancel;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        figures.longestGapMs = std::max(figures.longestGapMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    const auto end = [&] {
        figures.runSeconds = clock.nsecsElapsed() / 1e9;
        if (sinceCancel.isValid()) {
            figures.cancelMs = sinceCancel.nsecsElapsed() / 1e6;
        }
        QCoreApplication::quit();
    };
    QObject::connect(&run, &SimulationRun::finished, end);
    QObject::connect(&run, &SimulationRun::cancelled, end);
    if (cancelAfterMs >= 0) {
        QTimer::singleShot(cancelAfterMs, [&] {
            sinceCancel.start();
            run.cancel();
        });
    }
    SimulationRequest request;
    request.rungs = 50;
    request.start = 3;
    request.trials = trials;
    request.seed = 1;
    request.threads = std::max(1u, std::thread::hardware_concurrency());
    clock.start();
    sinceTick.start();
    tick.start();
    run.start(request);
    QCoreApplication::exec();
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("idle, 3 s: longest event-loop gap %.1f ms\n", idleGapMs(3000));
    const Figures whole = measure(100'000'000, -1);
    std::printf(
        "100M trials at 50 rungs: %.2f s (%.2f M trials/s); longest event-loop gap %.1f ms\n",
        whole.runSeconds, 100.0 / whole.runSeconds, whole.longestGapMs);
    for (const int after : {500, 1500, 2500}) {
        const Figures cancelled = measure(100'000'000, after);
        std::printf("cancel after %d ms: reported %.1f ms later; longest gap %.1f ms\n", after,
                    cancelled.cancelMs, cancelled.longestGapMs);
    }
    return 0;
}
