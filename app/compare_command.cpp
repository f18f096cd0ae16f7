#include "compare_command.h"

#include <algorithm>
#include <optional>
#include <variant>

#include "class_pool.h"
#include "command_output.h"
#include "comparison_report.h"
#include "headless_run.h"
#include "law_chart.h"
#include "number_text.h"
#include "record_file.h"
#include "record_grouping.h"
#include "worksheet.h"

namespace tanabashigo {

namespace {

/// A refused record: the reason in both languages on stderr, exit status 2.
int refused(const std::string& japanese, const std::string& english) {
    writeStandardError("tanabashigo: " + japanese + "\ntanabashigo: " + english + "\n");
    return 2;
}

/// Says on stderr why record file `file` is refused.
void sayRefused(const std::string& file, const RecordError& error) {
    // Line 0 stands for the file as a whole (missing, unreadable, not a regular file, empty).
    const bool atLine = error.line > 0;
    const std::string line = std::to_string(error.line);
    refused("記録ファイル「" + file + "」" + (atLine ? "（" + line + " 行目）" : "") + "：" +
                error.japanese,
            "the record file '" + file + "'" + (atLine ? " (line " + line + ")" : "") + ": " +
                error.english);
}

/// What is said of a class's files, both languages, one line each.
std::string notesText(const std::vector<PoolNote>& notes) {
    std::string text;
    for (const auto& [japanese, english] : notes) {
        text += japanese + '\n' + english + '\n';
    }
    return text.empty() ? text : text + '\n';
}

/// One row of the per-file table: the name, the experiments, the ten counts and their sum.
std::string fileRow(const std::string& name, const RecordChoice& choice) {
    std::string row = formatted("  %-24s %4d", name.c_str(), choice.experiments);
    for (const std::uint64_t count : choice.comparison.counts) {
        row += formatted(" %5llu", static_cast<unsigned long long>(count));
    }
    return row + formatted(" %7llu\n",
                           static_cast<unsigned long long>(landingsOf(choice.comparison.counts)));
}

/// Several files of one class: what is said of them, then each ladder's class total against
/// the law and the files' counts side by side.
std::string pooledText(const std::vector<PooledLadder>& ladders,
                       const std::vector<PoolNote>& notes) {
    std::string text = notesText(notes);
    for (const PooledLadder& ladder : ladders) {
        text += (&ladder == &ladders.front() ? "" : "\n") + comparisonText(ladder.total.comparison);
        text += "ファイルごと / per file:\n" + formatted("  %-24s %4s", "", "実験");
        for (int column = 1; column <= kLineCount; ++column) {
            text += formatted(" %5d", column);
        }
        text += "    合計\n";
        for (const auto& [name, share] : ladder.files) {
            text += fileRow(name, share);
        }
        text += fileRow("クラス全体 / class", ladder.total);
    }
    return text;
}

/// 「横線 30 本・3 本目から」 and "30 rungs from line 3" for each of `ladders`.
std::pair<std::string, std::string> laddersText(const std::vector<PooledLadder>& ladders) {
    std::pair<std::string, std::string> text;
    for (const PooledLadder& ladder : ladders) {
        const Comparison& total = ladder.total.comparison;
        const bool first = &ladder == &ladders.front();
        text.first += (first ? "" : "、") + ("横線 " + std::to_string(total.rungs) + " 本・" +
                                             std::to_string(total.start) + " 本目から");
        text.second += (first ? "" : ", ") + (std::to_string(total.rungs) + " rungs from line " +
                                              std::to_string(total.start));
    }
    return text;
}

int comparePooled(const CommandLine& commandLine) {
    if (commandLine.experiment != 0 || !commandLine.chart.empty() || commandLine.csv) {
        return refused(
            "記録ファイルが二つ以上のときは、--experiment、--chart、--csv は使えません。",
            "--experiment, --chart and --csv take one record file, not several.");
    }
    ClassPool pool;
    int status = 0;  // the good files are shown; a refused one still ends in status 2
    for (const std::string& file : commandLine.records) {
        if (const auto error = pool.take(file, readRecordFile(file))) {
            sayRefused(file, *error);
            status = 2;
        }
    }
    const auto [ladders, notes] = pool.pool();
    if (ladders.empty()) {
        return 2;
    }
    if (!commandLine.worksheet.empty()) {
        if (ladders.size() != 1) {
            const auto [japanese, english] = laddersText(ladders);
            return refused("記録には横線の本数とスタートの線が " + std::to_string(ladders.size()) +
                               " 通りあります（" + japanese +
                               "）。ワークシートには、一通りの記録のファイルだけを並べてください。",
                           "the records hold " + std::to_string(ladders.size()) + " ladders (" +
                               english + "): give the files of one ladder for a worksheet.");
        }
        status = std::max(
            status,
            saveWorksheetFile(commandLine.worksheet,
                              worksheetSvg(filledWorksheet(ladders.front().total.comparison))));
    }
    return finishWithOutput(pooledText(ladders, notes), status);
}

}  // namespace

int runCompare(const CommandLine& commandLine) {
    if (commandLine.records.size() > 1) {
        return comparePooled(commandLine);
    }
    const std::string& file = commandLine.records.front();
    auto read = readRecordFile(file);
    if (const RecordError* error = std::get_if<RecordError>(&read)) {
        sayRefused(file, *error);
        return 2;
    }
    auto& [inFile, tornLines] = std::get<RecordContents>(read);
    if (const auto [japanese, english] = tornLinesNote(tornLines); !japanese.empty()) {
        writeStandardError("tanabashigo: " + file + "：" + japanese + "\ntanabashigo: " + file +
                           ": " + english + "\n");
    }
    const std::vector<RecordedExperiment>& experiments = inFile;
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
    if (!commandLine.chart.empty() || !commandLine.worksheet.empty()) {
        if (choices.size() != 1 && commandLine.experiment != 0) {
            return refused(
                "記録の実験 " + std::to_string(commandLine.experiment) + " には、比べる組が " +
                    count +
                    " つあります（スタートの線ごとの組や、つなげた記録ファイル）。"
                    "グラフやワークシートにできるのは、スタートの線が一つの実験だけです。",
                "the record's experiment " + std::to_string(commandLine.experiment) + " gives " +
                    count +
                    " comparisons (one per start line, or joined files): only an "
                    "experiment from one start line, in one file, can be charted.");
        }
        if (choices.size() != 1) {
            return refused("記録には横線の本数とスタートの線の組が " + count +
                               " 通りあります。グラフやワークシートにする実験を --experiment で"
                               "選んでください。",
                           "the record holds " + count +
                               " ladders (rung count and start line): choose the experiment to "
                               "draw with --experiment.");
        }
        const Comparison& comparison = choices.front().comparison;
        if (!commandLine.chart.empty()) {
            const LawChart chart{comparison.rungs,
                                 comparison.start,
                                 exactLandingLaw(comparison.rungs, comparison.start),
                                 comparison.counts,
                                 comparison.name,
                                 comparison.prediction};
            status = saveChartFile(commandLine.chart, lawChartSvg(chart), kLawChartArea);
        }
        if (!commandLine.worksheet.empty()) {
            status = std::max(status, saveWorksheetFile(commandLine.worksheet,
                                                        worksheetSvg(filledWorksheet(comparison))));
        }
    }
    std::string text = commandLine.csv ? comparisonCsvHeader() : std::string();
    for (const RecordChoice& choice : choices) {
        if (commandLine.csv) {
            text += comparisonCsvRows(choice.comparison);
        } else {
            text += (&choice == &choices.front() ? "" : "\n") + comparisonText(choice.comparison);
        }
    }
    return finishWithOutput(text, status);
}

}  // namespace tanabashigo
