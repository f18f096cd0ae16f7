#pragma once

#include <string>
#include <variant>
#include <vector>

#include "landing_entry.h"
#include "record_line.h"
#include "record_reader.h"

namespace tanabashigo {

/// What to append to a record to keep one landing.
struct RecordAppend {
    /// The text: the header when the record is empty, a line end that sets aside a line cut
    /// short, then the experiment's new line (all of its lines when it starts afresh).
    std::string text;
    std::vector<RecordLine> lines;  ///< the experiment's lines once the text is in the record
};

/// Numbers one window's landings into a record: each experiment after the highest number of
/// the record's last part, its trials in turn. It knows nothing of files or storage: it is
/// shown the record as a reader that has read all of it, and answers what to append, which
/// that reader takes too. A record the reader refuses is refused with the reader's reason.
class RecordAppender {
public:
    /// The landings that follow belong to a new experiment, predicted by no one yet.
    void startExperiment() {
        lines_.clear();
        prediction_ = {};
    }
    /// The class's prediction for the experiment, written ahead of its first landing (and with
    /// it whenever the experiment is written afresh); set it before that landing.
    void predict(const ClassPrediction& prediction) { prediction_ = prediction; }
    /// What to append to `record` to keep `entry` at `time`. When the record no longer holds
    /// the experiment's lines so far, a `moved` record (another file now at the path, or a new
    /// one) gets the experiment afresh under a new number; the same record is refused, as it
    /// was cut short or rewritten.
    std::variant<RecordAppend, RecordError> append(const RecordReader& record,
                                                   const LandingEntry& entry,
                                                   const std::string& time, bool moved) const;
    /// `done` is in the record now.
    void appended(RecordAppend done) { lines_ = std::move(done.lines); }
    /// The experiment's lines kept so far, in order.
    const std::vector<RecordLine>& lines() const { return lines_; }

private:
    std::vector<RecordLine> lines_;
    ClassPrediction prediction_;
};

}  // namespace tanabashigo
