#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "class_prediction.h"
#include "landing_entry.h"

namespace tanabashigo {

/// One line of a landing record: a counted landing, the landing that ended the experiment, or
/// a column of the class's prediction, written ahead of the experiment's first landing.
struct RecordLine {
    std::string time;             ///< local ISO 8601 with offset, e.g. 2026-12-07T09:15:02+09:00
    int experiment = 0;           ///< 1..
    int trial = 0;                ///< 1.., 0 for a prediction
    int rungs = 0;                ///< rungs per ladder (the reader accepts 0..225)
    int start = 3;                ///< start line 1..10
    int column = 0;               ///< landing (or predicted) column 1..10
    int count = 0;                ///< that column's count after the landing, 1..20 (20 at the
                                  ///< end); for a prediction the hands raised, 1..kMostHands
    bool endsExperiment = false;  ///< event "end" rather than "landing"
    bool predicts = false;        ///< event "prediction"
    bool operator==(const RecordLine&) const = default;
};

/// The largest experiment or trial number a line may carry.
inline constexpr int kMostRecordNumber = 999'999'999;

/// The record line of `entry`, the `trial`th landing of `experiment`, kept at `time`.
RecordLine landingLine(const LandingEntry& entry, std::string time, int experiment, int trial);

/// The landing a record line keeps.
LandingEntry entryOf(const RecordLine& line);

/// The prediction lines that keep `prediction` ahead of `first`, the first landing line of its
/// experiment, at its time: one for each column with a hand raised, in column order.
std::string formatPrediction(const ClassPrediction& prediction, const RecordLine& first);

/// `text` without the byte-order mark some editors put at a file's start.
std::string_view withoutByteOrderMark(std::string_view text);

/// The first line of a record file, without its line end.
std::string_view recordHeader();

/// The text of `line`, with its line end.
std::string formatRecordLine(const RecordLine& line);

/// The line read back from `text` (without its line end), or nothing when malformed: a field
/// missing or extra, a number out of range, an unknown event, an end whose count is not 20, a
/// prediction whose trial is not 0 or a landing whose trial is, or a time that is not
/// YYYY-MM-DDThh:mm:ss followed by Z or a ±hh:mm offset.
std::optional<RecordLine> parseRecordLine(std::string_view text);

}  // namespace tanabashigo
