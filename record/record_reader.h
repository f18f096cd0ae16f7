#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "class_prediction.h"
#include "geometry.h"

namespace tanabashigo {

struct RecordLine;

/// The landings of one experiment from one start line, read from a record file. An experiment
/// whose start line changes from trial to trial is one of these per start line, so that what
/// is compared with the law is always the landings of one line.
struct RecordedExperiment {
    int experiment = 0;
    int rungs = 0;
    int start = 3;
    ColumnCounts counts{};  ///< counted landings per column
    int trials = 0;         ///< lines of this experiment from this start line
    bool ended = false;     ///< the experiment has its "end" line, from whichever start line
    int part = 1;           ///< how many headers come before it: numbers count afresh after each
    int endColumn = 0;      ///< the column of its end landing when it is from this start line
    std::vector<std::uint8_t> order;  ///< the columns of the counted landings, in turn
    /// What it holds, whatever file it was read from: its ladder, then each line's time,
    /// column and event, folded in order. Equal for the same experiment seen twice.
    std::uint64_t fingerprint = 0;
    /// The fingerprint after each of its first lines, so a copy taken before it ended is known.
    std::array<std::uint32_t, 8> opening{};
    ClassPrediction prediction{};  ///< of the whole experiment, from its prediction lines
};

/// An experiment as far as the lines read so far go, every start line together.
struct ExperimentSoFar {
    int rungs = 0;
    int trials = 0;         ///< its lines
    ColumnCounts counts{};  ///< counted landings per column: the tally its counts follow
    bool ended = false;     ///< it has its "end" line
    std::array<std::size_t, kLineCount + 1> byStart{};  ///< 1 + its index per start line, 0 none
    ClassPrediction prediction{};  ///< from its prediction lines, ahead of its first landing
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
    bool operator==(const RecordError&) const = default;
};

using RecordRead = std::variant<RecordContents, RecordError>;

/// Reads a record's text piece by piece, holding no more of it than one line.
///
/// Accepts CRLF line ends, a byte-order mark, a missing final line end, blank lines and the
/// header repeated where files were joined; an experiment number counts afresh after each
/// header. Skips and counts lines cut short. Refuses lines that do not continue their
/// experiment: a trial number out of turn, a count that does not follow the earlier landings
/// (of every start line: one tally holds them all), a change of rungs, or a line after the end.
/// An experiment's prediction lines come before its first landing, a column once each; a
/// prediction without any landing (its landing cut short) holds its number but makes no
/// experiment. The writer keeps one to know what the file it appends to holds, so both refuse
/// the same files for the same reason.
class RecordReader {
public:
    /// Reads the next piece of the text; false once the text is refused.
    bool read(std::string_view piece);
    /// The text has ended: what it holds, or why it is refused.
    RecordRead finish();

    /// Why the lines read so far are refused, if they are.
    const std::optional<RecordError>& error() const { return error_; }
    /// What the whole lines read so far hold.
    const RecordContents& contents() const { return contents_; }
    /// Lines begun so far, the one not yet ended included.
    int lineCount() const { return lineNumber_ + (partial_.empty() ? 0 : 1); }
    /// Whether the text read so far ends with a line end (or is empty).
    bool atLineStart() const { return partial_.empty(); }
    /// Headers read so far.
    int parts() const { return headers_; }
    /// The experiment numbered `experiment` after the last header, if there is one.
    const ExperimentSoFar* latest(int experiment) const;
    /// The highest experiment number after the last header, 0 for none.
    int highestExperiment() const { return highest_; }

private:
    /// Reads one line, without its line end.
    void readLine(std::string_view line);
    /// Reads a prediction line of the experiment `key` names.
    void readPrediction(const RecordLine& line, std::uint64_t key);

    /// The prediction lines of an experiment whose first landing has not come yet.
    struct Predicting {
        int rungs = 0;
        ClassPrediction prediction;
    };

    std::string partial_;  ///< the start of a line whose end has not come yet
    RecordContents contents_;
    std::unordered_map<std::uint64_t, ExperimentSoFar> found_;  ///< by (header, experiment)
    std::unordered_map<std::uint64_t, Predicting> predicting_;  ///< by (header, experiment)
    int headers_ = 0;
    int highest_ = 0;
    int lineNumber_ = 0;
    std::optional<RecordError> error_;
};

/// What is said of `tornLines` lines cut short, in Japanese and in English; empty for none.
std::pair<std::string, std::string> tornLinesNote(int tornLines);

/// The experiments of a record file's text.
RecordRead readRecordText(std::string_view text);

}  // namespace tanabashigo
