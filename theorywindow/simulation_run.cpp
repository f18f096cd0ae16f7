#include "simulation_run.h"

#include <sys/resource.h>
#include <unistd.h>

#include <system_error>

namespace tanabashigo {

SimulationRun::SimulationRun(QObject* parent) : QObject(parent) {
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &SimulationRun::onPoll);
}

SimulationRun::~SimulationRun() {
    stopWorker();
}

bool SimulationRun::start(SimulationRequest request) {
    if (running()) {
        return false;
    }
    cancel_ = false;
    done_ = false;
    trialsDone_ = 0;
    total_ = request.trials;
    request.cancel = &cancel_;
    try {
        worker_ = std::thread([this, request] {
            // A lower priority for this thread and the workers it starts (they inherit it),
            // so the window always gets the processor when it needs it.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNiceness);
            counts_ = simulateLandings(request, [this](std::uint64_t done, std::uint64_t) {
                trialsDone_.store(done, std::memory_order_relaxed);
            });
            done_.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        return false;  // the system refused a thread
    }
    poll_.start();
    return true;
}

void SimulationRun::cancel() {
    cancel_ = true;
}

void SimulationRun::onPoll() {
    if (!running()) {
        poll_.stop();
        return;
    }
    if (!done_.load(std::memory_order_acquire)) {
        emit progressed(trialsDone_.load(std::memory_order_relaxed), total_);
        return;
    }
    worker_.join();
    poll_.stop();
    if (cancel_) {
        emit cancelled();
    } else {
        emit progressed(total_, total_);
        emit finished(counts_);
    }
}

void SimulationRun::stopWorker() {
    if (running()) {
        cancel_ = true;
        worker_.join();
    }
    poll_.stop();
}

}  // namespace tanabashigo
