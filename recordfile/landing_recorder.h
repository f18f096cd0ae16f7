#pragma once

#include <optional>
#include <string>

#include "class_prediction.h"
#include "landing_entry.h"

namespace tanabashigo {

/// Why a record file cannot take a landing (or cannot be recorded into at all).
struct RecordFault {
    std::string path;      ///< the file as the teacher named it
    std::string japanese;  ///< the reason, e.g. ディスクがいっぱいです
    std::string english;   ///< the same reason in English
    int line = 0;          ///< the line the reason is about, 0 for the file as a whole
    bool busy = false;     ///< another program holds the file: trying again later may succeed
};

/// Where a window keeps its landings, so that HELP and 初期化 lose none of them.
class LandingRecorder {
public:
    /// Each try for a file another program holds waits at most this long.
    static constexpr int kLongestWaitMs = 30;

    virtual ~LandingRecorder() = default;
    /// The tally starts empty: the landings that follow belong to a new experiment.
    virtual void startExperiment() = 0;
    /// The class's prediction for the experiment, kept with its first landing; given before it.
    virtual void predict(const ClassPrediction& prediction) = 0;
    /// Keeps one landing: nothing when it is safely stored, else why it is not kept. It never
    /// waits longer than kLongestWaitMs; the same landing may be given again after a fault.
    virtual std::optional<RecordFault> recordLanding(const LandingEntry& landing) = 0;
};

/// The local time now, as a record line wants it.
std::string localTimeNow();

}  // namespace tanabashigo
