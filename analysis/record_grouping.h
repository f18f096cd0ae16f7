#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "comparison_report.h"
#include "record_reader.h"

namespace tanabashigo {

/// The landings of `experiment` per column, the one that ended it included when it came from
/// this start line: it falls in a full column, so leaving it out would count the likeliest
/// columns short.
ColumnCounts everyLanding(const RecordedExperiment& experiment);
/// The columns of all its landings in turn, the one that ends it last.
std::vector<std::uint8_t> everyLandingInTurn(const RecordedExperiment& experiment);

/// The experiments of one rung count and start line.
struct LadderGroup {
    int rungs = 0;
    int start = 3;
    ColumnCounts counts{};                   ///< their landings together
    std::uint64_t trials = 0;                ///< their lines together
    std::vector<std::uint32_t> newestFirst;  ///< indices into the experiments, the last first
    ClassPrediction prediction{};            ///< their predictions together
};

/// The experiments grouped by rung count and start line: the group of the newest experiment
/// first, the newest experiment first within each.
std::vector<LadderGroup> groupByLadder(const std::vector<RecordedExperiment>& experiments);

/// Something the teacher can set beside the law from a record file.
struct RecordChoice {
    std::string label;  ///< for the list to choose from
    Comparison comparison;
    int experiments = 1;  ///< how many experiments it puts together
    int experiment = 0;   ///< the experiment's number when it is one
};

/// One experiment to set beside the law.
RecordChoice experimentChoice(const RecordedExperiment& experiment);

/// The experiments of `group`, of `experiments`, together, to set beside the law; named as
/// its one experiment when it has one.
RecordChoice groupChoice(const LadderGroup& group,
                         const std::vector<RecordedExperiment>& experiments);

/// The groups of `experiments` as groupChoice() sets them, by rung count, then start line.
std::vector<RecordChoice> choicesByLadder(const std::vector<RecordedExperiment>& experiments);

/// A record file among the several a class hands in: its name and its experiments.
struct NamedRecord {
    std::string name;
    std::vector<RecordedExperiment> experiments;
};

/// The experiments of one rung count and start line across a class's files: all of them
/// together (labelled as the class's, with how many files hold it), and each file's share.
struct PooledLadder {
    RecordChoice total;
    std::vector<std::pair<std::string, RecordChoice>> files;  ///< the files that hold it, in order
};

/// The files' experiments pooled by rung count, then start line.
std::vector<PooledLadder> poolByLadder(const std::vector<NamedRecord>& files);

/// Each experiment of the file in its order, then, for every rung count and start line that
/// has more than one experiment, all of them together. Every count is of landings.
std::vector<RecordChoice> recordChoices(const std::vector<RecordedExperiment>& experiments);

}  // namespace tanabashigo
