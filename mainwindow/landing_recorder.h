#pragma once

namespace tanabashigo {

/// One landing as the main window reports it.
struct RecordedLanding {
    int rungs = 0;                ///< rungs per ladder
    int start = 3;                ///< start line 1..10
    int column = 0;               ///< landing column 1..10
    int count = 0;                ///< that column's count after the landing
    bool endsExperiment = false;  ///< it found its column full: nothing was counted
};

/// Where the main window keeps its landings, so that HELP and 初期化 lose none of them.
class LandingRecorder {
public:
    virtual ~LandingRecorder() = default;
    /// The tally starts empty: the landings that follow belong to a new experiment.
    virtual void startExperiment() = 0;
    /// Keeps one landing; it is safely stored when this returns.
    virtual void recordLanding(const RecordedLanding& landing) = 0;
};

}  // namespace tanabashigo
