#pragma once

#include <optional>
#include <string>

namespace tanabashigo {

/// One landing as the main window reports it.
struct RecordedLanding {
    int rungs = 0;                ///< rungs per ladder
    int start = 3;                ///< start line 1..10
    int column = 0;               ///< landing column 1..10
    int count = 0;                ///< that column's count after the landing
    bool endsExperiment = false;  ///< it found its column full: nothing was counted
};

/// Why a record file cannot take a landing (or cannot be recorded into at all).
struct RecordFault {
    std::string path;      ///< the file as the teacher named it
    std::string japanese;  ///< the reason, e.g. ディスクがいっぱいです
    std::string english;   ///< the same reason in English
};

/// Where the main window keeps its landings, so that HELP and 初期化 lose none of them.
class LandingRecorder {
public:
    virtual ~LandingRecorder() = default;
    /// The tally starts empty: the landings that follow belong to a new experiment.
    virtual void startExperiment() = 0;
    /// Keeps one landing: nothing when it is safely stored, else why it is not kept. The same
    /// landing may be given again after a fault.
    virtual std::optional<RecordFault> recordLanding(const RecordedLanding& landing) = 0;
};

/// The local time now, as a record line wants it.
std::string localTimeNow();

}  // namespace tanabashigo
