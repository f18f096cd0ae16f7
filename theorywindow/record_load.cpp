#include "record_load.h"

#include <sys/resource.h>
#include <unistd.h>

#include <system_error>

#include "simulation_run.h"

namespace tanabashigo {

RecordLoad::RecordLoad(QObject* parent) : QObject(parent) {
    poll_.setInterval(SimulationRun::kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &RecordLoad::onPoll);
}

RecordLoad::~RecordLoad() {
    if (running()) {
        cancel_ = true;
        worker_.join();
    }
}

bool RecordLoad::start(const std::string& path, bool pooled) {
    if (running()) {
        return false;
    }
    cancel_ = false;
    done_ = false;
    bytesDone_ = 0;
    size_ = 0;
    groups_.clear();
    try {
        worker_ = std::thread([this, path, pooled] {
            // Below the window, as a simulation is: the window gets the processor first.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), SimulationRun::kWorkerNiceness);
            read_ = readRecordFile(path, [this](std::uint64_t done, std::uint64_t size) {
                bytesDone_.store(done, std::memory_order_relaxed);
                size_.store(size, std::memory_order_relaxed);
                return !cancel_.load(std::memory_order_relaxed);
            });
            const auto* contents = std::get_if<RecordContents>(&read_);
            if (contents != nullptr && !pooled) {
                groups_ = groupByLadder(contents->experiments);
            }
            done_.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        return false;  // the system refused a thread
    }
    poll_.start();
    return true;
}

void RecordLoad::onPoll() {
    if (!running()) {
        poll_.stop();
        return;
    }
    if (!done_.load(std::memory_order_acquire)) {
        emit progressed(bytesDone_.load(std::memory_order_relaxed),
                        size_.load(std::memory_order_relaxed));
        return;
    }
    worker_.join();
    poll_.stop();
    emit finished();
}

}  // namespace tanabashigo
