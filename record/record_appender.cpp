#include "record_appender.h"

#include "tally.h"

namespace tanabashigo {

namespace {

/// Whether `experiment`, as the record holds it, is the one whose lines are `lines`, predicted
/// as `prediction`.
bool holds(const ExperimentSoFar& experiment, const std::vector<RecordLine>& lines,
           const ClassPrediction& prediction) {
    ColumnCounts counts{};
    for (const RecordLine& line : lines) {
        counts[line.column] += line.endsExperiment ? 0 : 1;
    }
    return !experiment.ended && experiment.trials == int(lines.size()) &&
           experiment.rungs == lines.front().rungs && experiment.counts == counts &&
           experiment.prediction == prediction;
}

RecordError numbersUsedUp() {
    return {0, "実験の番号を使い切りました。新しいファイルに記録してください。",
            "the experiment numbers are used up: record into a new file"};
}

/// What was found where the experiment's lines should be.
RecordError changedUnderneath(const ExperimentSoFar* found, int written) {
    const int left = found == nullptr ? 0 : std::min(found->trials, written);
    return {0,
            "記録ファイルがほかのプログラムで短くされたか書き換えられました（この実験の " +
                std::to_string(written) + " 行のうち、元のまま残っているのは " +
                std::to_string(left) + " 行です）。新しいファイルに記録してください。",
            "the record file was cut short or rewritten by another program: " +
                std::to_string(left) + " of this experiment's " + std::to_string(written) +
                " lines are left as written; record into a new file"};
}

}  // namespace

std::variant<RecordAppend, RecordError> RecordAppender::append(const RecordReader& record,
                                                               const LandingEntry& entry,
                                                               const std::string& time,
                                                               bool moved) const {
    RecordReader after = record;
    RecordAppend done{{}, lines_};
    if (after.lineCount() == 0) {
        done.text.append(recordHeader()).push_back('\n');
    } else if (!after.atLineStart()) {
        done.text.push_back('\n');  // sets aside a line cut short, never continues it
    }
    if (!after.read(done.text)) {
        return *after.error();
    }
    std::vector<RecordLine>& lines = done.lines;
    bool afresh = lines.empty();
    if (!afresh) {
        const ExperimentSoFar* found = after.latest(lines.front().experiment);
        if (found == nullptr || !holds(*found, lines, prediction_)) {
            if (!moved) {
                return changedUnderneath(found, int(lines.size()));
            }
            afresh = true;
        }
    }
    const int experiment = afresh ? after.highestExperiment() + 1 : lines.front().experiment;
    if (experiment > kMostRecordNumber) {
        return numbersUsedUp();
    }
    lines.push_back(landingLine(entry, time, experiment, int(lines.size()) + 1));
    std::string added;
    for (std::size_t i = afresh ? 0 : lines.size() - 1; i < lines.size(); ++i) {
        lines[i].experiment = experiment;
        added += (i == 0 ? formatPrediction(prediction_, lines[i]) : std::string()) +
                 formatRecordLine(lines[i]);
    }
    // What the reader would refuse is never written.
    if (!after.read(added)) {
        return *after.error();
    }
    done.text += added;
    return done;
}

}  // namespace tanabashigo
