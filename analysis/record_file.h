#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "landing_simulation.h"

namespace tanabashigo {

/// One experiment read from a record file.
struct RecordedExperiment {
    int experiment = 0;
    int rungs = 0;
    int start = 3;
    ColumnCounts counts{};  ///< counted landings per column
    int trials = 0;         ///< lines of this experiment
    bool ended = false;     ///< it has its "end" line
    std::string firstTime, lastTime;
};

/// Why a record file was refused: the 1-based line (0 for the file as a whole), and the
/// reason in both languages, without the line number.
struct RecordError {
    int line = 0;
    std::string japanese;
    std::string english;
};

/// The largest record file read: more than a year of lessons.
inline constexpr std::size_t kMaxRecordBytes = std::size_t{64} << 20;

/// The experiments of a record file's text, in the order they first appear, or why not.
/// Accepts CRLF line ends, a missing final line end, blank lines and the header repeated
/// where files were joined; an experiment number counts afresh after each header. Refuses
/// lines that do not continue their experiment: a trial number out of turn, a count that
/// does not follow the earlier landings, a change of rungs or start line, or a line after
/// the end.
std::variant<std::vector<RecordedExperiment>, RecordError> readRecordText(std::string_view text);

/// The same for a file (refuses files over kMaxRecordBytes and unreadable files).
std::variant<std::vector<RecordedExperiment>, RecordError> readRecordFile(const std::string& path);

}  // namespace tanabashigo
