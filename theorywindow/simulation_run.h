#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <thread>

#include "landing_simulation.h"

namespace tanabashigo {

/// Runs one simulation at a time on a worker thread (which spreads it over its own
/// threads) and reports on the GUI thread: the GUI polls, so it never waits for the run.
class SimulationRun : public QObject {
    Q_OBJECT
public:
    explicit SimulationRun(QObject* parent = nullptr);
    /// Cancels a run still going and waits for it to stop.
    ~SimulationRun() override;

    /// Starts `request` (its cancel flag is this run's own); false while a run is going.
    bool start(SimulationRequest request);
    /// Asks the run to stop; `cancelled` follows once it has.
    void cancel();
    bool running() const { return worker_.joinable(); }

    /// How often the run is looked at, in milliseconds.
    static constexpr int kPollMilliseconds = 30;
    /// How much lower than the window's the worker's priority is.
    static constexpr int kWorkerNiceness = 10;

    /// Looks at the run: reports progress, and the end once the worker has finished.
    void onPoll();

signals:
    void progressed(std::uint64_t done, std::uint64_t total);
    /// The run finished with every trial counted.
    void finished(const tanabashigo::ColumnCounts& counts);
    /// The run was cancelled; its counts are dropped.
    void cancelled();

private:
    /// Stops the worker, if any, and waits for it.
    void stopWorker();

    QTimer poll_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::atomic<std::uint64_t> trialsDone_{0};
    std::uint64_t total_ = 0;
    ColumnCounts counts_{};
};

}  // namespace tanabashigo
