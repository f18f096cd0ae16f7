#pragma once

#include <cstdint>
#include <optional>

#include "landing_recorder.h"

namespace tanabashigo {

/// Holds a landing until the recorder keeps it, so a window shows no marker without its line.
/// A file another program holds is tried again every kRetryMs for about kPatienceMs, each try
/// brief, so the window's thread never waits long; after that the landing counts as refused,
/// stays held, and is offered again with retry() when the trials start again.
class RecordGate {
public:
    static constexpr std::int64_t kPatienceMs = 2000;
    static constexpr int kRetryMs = 50;
    enum class State {
        Kept,     ///< the landing is in the record (or there is no record)
        Waiting,  ///< the file is held by another program: retry() again in kRetryMs
        Refused,  ///< it could not be kept: fault() says why
    };

    /// `recorder` may be null (nothing is recorded); it must outlive the gate.
    explicit RecordGate(LandingRecorder* recorder) : recorder_(recorder) {}

    /// Holds `landing` and tries to keep it at `nowMs`.
    State offer(const LandingEntry& landing, std::int64_t nowMs);
    /// Tries the held landing again at `nowMs`; Kept when none is held.
    State retry(std::int64_t nowMs);
    /// A new experiment: the held landing, if any, is given up and the recorder told.
    void startExperiment();
    /// The class's prediction for the experiment, for the recorder to keep with its first landing.
    void predict(const ClassPrediction& prediction) {
        if (recorder_ != nullptr) {
            recorder_->predict(prediction);
        }
    }
    bool holding() const { return held_.has_value(); }
    /// Why the last try failed.
    const std::optional<RecordFault>& fault() const { return fault_; }

private:
    LandingRecorder* recorder_;
    std::optional<LandingEntry> held_;
    std::optional<std::int64_t> since_;  ///< when the current round of tries began
    std::optional<RecordFault> fault_;
};

}  // namespace tanabashigo
