#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "all_lines_chart.h"
#include "comparison_report.h"
#include "experiment_length.h"
#include "fairness_chart.h"
#include "law_chart.h"
#include "lesson_pace.h"
#include "settling_chart.h"
#include "worksheet.h"

namespace tanabashigo {

/// What the teacher has chosen in the theory window and everything that follows from it.
/// The exact laws of every rung count for the chosen start line are computed once per line.
class TheoryModel {
public:
    TheoryModel();

    int rungs() const { return rungs_; }
    int start() const { return start_; }
    /// Chooses the rung count, kept within 0..225.
    void setRungs(int rungs);
    /// Chooses the start line, kept within 1..10.
    void setStart(int start);

    /// The exact law for the chosen rung count and start line.
    const ColumnLaw& law() const { return laws_[static_cast<std::size_t>(rungs_)]; }
    /// The fairness of every rung count 0..225 from the chosen start line.
    const std::vector<FairnessRow>& fairnessRows() const { return rows_; }
    /// Where the lottery from the chosen start line is nearly fair.
    std::optional<RungRange> nearlyFair() const { return nearlyFair_; }
    /// From how many rungs the lottery is nearly fair, and how fair the chosen count is.
    std::string fairnessSentence() const;

    int speed() const { return speed_; }
    /// Chooses the lesson speed the durations assume, kept within the lesson's speeds.
    void setSpeed(int speed);
    /// How long the class's experiment takes with the chosen rung count and start line, at the
    /// chosen lesson speed.
    std::string durationSentence() const;
    /// The table of the chart as CSV for a spreadsheet: UTF-8 with a byte-order mark, Japanese
    /// headers, the ladder and the landings, percentages to 0.1, and the shown counts.
    std::string tableCsv() const;

    /// Sets counts beside the law and chooses their rung count and start line.
    void setComparison(const Comparison& comparison);
    /// The counts beside the law, while their rung count and start line are the chosen ones.
    const Comparison* shownComparison() const;
    /// The shown counts compared with the law; nothing without them.
    std::optional<PlainComparison> plainComparison() const;
    /// The class's prediction beside the shown counts and the law; empty without one.
    std::string predictionSentence() const;

    LawChart lawChart() const;
    FairnessChart fairnessChart() const;
    /// The worksheet of the shown counts, or the blank one of the chosen ladder without them.
    Worksheet worksheet() const;

    /// Sets the class's landings of every ladder (a comparison a rung count and start line),
    /// to fill the all-lines picture; none clears them.
    void setClassLadders(std::vector<Comparison> ladders);
    /// The law of every start line for the chosen rung count, with the class's landings of
    /// that count in their cells when it has any.
    AllLinesChart allLinesChart() const;
    /// Where every start line is nearly fair.
    std::optional<RungRange> everyLineNearlyFair() const { return everyLineNearlyFair_; }
    /// What the all-lines picture teaches, in plain sentences: which columns each line
    /// favours, that a ladder gives every column to exactly one line, and how many rungs make
    /// every line fair.
    std::vector<std::string> allLinesSentences() const;

    /// Chooses the column the settling chart draws, 0 (or out of 1..10) for every column.
    void setSettlingColumn(int column);
    int settlingColumn() const { return settlingColumn_; }
    /// The shares of the landings in turn against the exact law: those of the shown counts
    /// when their order is known, else the class's landings of the chosen ladder.
    SettlingChart settlingChart() const;
    /// How far the shares lay from the law after the first few landings and after them all.
    std::string settlingSentence() const;

private:
    int rungs_ = 30;
    int start_ = 3;
    int speed_ = kDefaultSpeed;
    std::vector<ColumnLaw> laws_;
    std::vector<FairnessRow> rows_;
    std::optional<RungRange> nearlyFair_;
    std::optional<Comparison> comparison_;
    std::vector<Comparison> classLadders_;
    int settlingColumn_ = 0;
    std::vector<FairnessRow> everyLineRows_;
    std::optional<RungRange> everyLineNearlyFair_;
    mutable std::map<std::pair<int, int>, ExperimentLength> lengths_;  ///< by start and rungs
};

}  // namespace tanabashigo
