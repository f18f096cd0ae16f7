#include "compare_command.h"

#include <variant>

#include "command_output.h"
#include "comparison_report.h"
#include "headless_run.h"
#include "law_chart.h"
#include "record_grouping.h"

namespace tanabashigo {

namespace {

/// A refused record: the reason in both languages on stderr, exit status 2.
int refused(const std::string& japanese, const std::string& english) {
    writeStandardError("tanabashigo: " + japanese + "\ntanabashigo: " + english + "\n");
    return 2;
}

}  // namespace

int runCompare(const CommandLine& commandLine) {
    const std::string& file = commandLine.record;
    const auto read = readRecordFile(file);
    if (const RecordError* error = std::get_if<RecordError>(&read)) {
        // Line 0 stands for the file as a whole (missing, unreadable, not a regular file, empty).
        const bool atLine = error->line > 0;
        const std::string line = std::to_string(error->line);
        return refused("記録ファイル「" + file + "」" + (atLine ? "（" + line + " 行目）" : "") +
                           "：" + error->japanese,
                       "the record file '" + file + "'" + (atLine ? " (line " + line + ")" : "") +
                           ": " + error->english);
    }
    const auto& [experiments, tornLines] = std::get<RecordContents>(read);
    if (const auto [japanese, english] = tornLinesNote(tornLines); !japanese.empty()) {
        writeStandardError("tanabashigo: " + japanese + "\ntanabashigo: " + english + "\n");
    }
    std::vector<RecordChoice> choices;
    if (commandLine.experiment == 0) {
        choices = choicesByLadder(experiments);
    } else {
        for (const RecordChoice& choice : recordChoices(experiments)) {
            if (choice.experiments == 1 && choice.experiment == commandLine.experiment) {
                choices.push_back(choice);
            }
        }
    }
    if (choices.empty()) {
        return refused("記録ファイル「" + file + "」に比べる実験がありません。",
                       "the record file '" + file + "' holds no such experiment.");
    }
    const std::string count = std::to_string(choices.size());
    int status = 0;
    if (!commandLine.chart.empty()) {
        if (choices.size() != 1 && commandLine.experiment != 0) {
            return refused("記録には実験 " + std::to_string(commandLine.experiment) + " が " +
                               count +
                               " つあります（つなげた記録ファイルなど）。グラフには"
                               "一つずつの記録ファイルを使ってください。",
                           "the record holds " + count + " experiments numbered " +
                               std::to_string(commandLine.experiment) +
                               " (joined files?): chart them from separate files.");
        }
        if (choices.size() != 1) {
            return refused("記録には横線の本数が " + count +
                               " 通りあります。グラフにする実験を --experiment で選んでください。",
                           "the record holds " + count +
                               " ladders: choose the experiment to draw with --experiment.");
        }
        const Comparison& comparison = choices.front().comparison;
        const LawChart chart{comparison.rungs, comparison.start,
                             exactLandingLaw(comparison.rungs, comparison.start), comparison.counts,
                             comparison.name};
        status = saveChartFile(commandLine.chart, lawChartSvg(chart), kLawChartArea);
    }
    std::string text = commandLine.csv ? comparisonCsvHeader() : std::string();
    for (const RecordChoice& choice : choices) {
        if (commandLine.csv) {
            text += comparisonCsvRows(choice.comparison);
        } else {
            text += (text.empty() ? "" : "\n") + comparisonText(choice.comparison);
        }
    }
    return finishWithOutput(text, status);
}

}  // namespace tanabashigo
