#include "record_gate.h"

namespace tanabashigo {

RecordGate::State RecordGate::offer(const LandingEntry& landing, std::int64_t nowMs) {
    held_ = landing;
    since_.reset();
    return retry(nowMs);
}

RecordGate::State RecordGate::retry(std::int64_t nowMs) {
    if (!held_ || recorder_ == nullptr) {
        held_.reset();
        return State::Kept;
    }
    if (!since_) {
        since_ = nowMs;
    }
    fault_ = recorder_->recordLanding(*held_);
    if (!fault_) {
        held_.reset();
        since_.reset();
        return State::Kept;
    }
    if (fault_->busy && nowMs - *since_ < kPatienceMs) {
        return State::Waiting;
    }
    since_.reset();
    return State::Refused;
}

void RecordGate::startExperiment() {
    held_.reset();
    since_.reset();
    if (recorder_ != nullptr) {
        recorder_->startExperiment();
    }
}

}  // namespace tanabashigo
