#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
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
};

/// What a record file holds.
struct RecordContents {
    std::vector<RecordedExperiment> experiments;  ///< in the order they first appear
    int tornLines = 0;  ///< lines cut short (a power cut, a full disk), skipped
};

/// Why a record file was refused: the 1-based line (0 for the file as a whole), and the
/// reason in both languages, without the line number.
struct RecordError {
    int line = 0;
    std::string japanese;
    std::string english;
};

using RecordRead = std::variant<RecordContents, RecordError>;

/// Reads a record's text piece by piece, holding no more of it than one line.
///
/// Accepts CRLF line ends, a missing final line end, blank lines and the header repeated
/// where files were joined; an experiment number counts afresh after each header. Skips and
/// counts lines cut short. Refuses lines that do not continue their experiment: a trial
/// number out of turn, a count that does not follow the earlier landings, a change of rungs
/// or start line, or a line after the end.
class RecordReader {
public:
    /// Reads the next piece of the text; false once the text is refused.
    bool read(std::string_view piece);
    /// The text has ended: what it holds, or why it is refused.
    RecordRead finish();

private:
    /// Reads one line, without its line end.
    void readLine(std::string_view line);

    std::string partial_;  ///< the start of a line whose end has not come yet
    RecordContents contents_;
    std::unordered_map<std::uint64_t, std::size_t> found_;  ///< (header, experiment) -> index
    int headers_ = 0;
    int lineNumber_ = 0;
    std::optional<RecordError> error_;
};

/// The experiments of one rung count and start line.
struct LadderGroup {
    int rungs = 0;
    int start = 3;
    ColumnCounts counts{};                   ///< their landings together
    std::uint64_t trials = 0;                ///< their lines together
    std::vector<std::uint32_t> newestFirst;  ///< indices into the experiments, the last first
};

/// The experiments grouped by rung count and start line: the group of the newest experiment
/// first, the newest experiment first within each.
std::vector<LadderGroup> groupByLadder(const std::vector<RecordedExperiment>& experiments);

/// What is said of `tornLines` lines cut short, in Japanese and in English; empty for none.
std::pair<std::string, std::string> tornLinesNote(int tornLines);

/// The experiments of a record file's text.
RecordRead readRecordText(std::string_view text);

/// The same for the regular file at `path`, read without waiting on anything that is not one.
/// `progress` hears the bytes read and the file's size as the reading goes; it answers false
/// to stop the reading, which then ends refused.
RecordRead readRecordFile(
    const std::string& path,
    const std::function<bool(std::uint64_t done, std::uint64_t size)>& progress = {});

}  // namespace tanabashigo
