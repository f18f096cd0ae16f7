#include "analyse_command.h"

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "all_lines_chart.h"
#include "analysis_report.h"
#include "command_output.h"
#include "fairness_chart.h"
#include "headless_run.h"
#include "law_chart.h"
#include "random_source.h"
#include "worksheet.h"

namespace tanabashigo {

namespace {

using Clock = std::chrono::steady_clock;

/// Seconds since `since`.
double secondsSince(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

/// Whether a progress line stands on the terminal without its line end.
volatile std::sig_atomic_t progressLineOpen = 0;

/// Ends an open progress line, then lets the signal end the program as it would have.
extern "C" void endProgressLineAndStop(int signal) {
    if (progressLineOpen != 0) {
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, "\n", 1);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

/// Shows a progress line on a terminal's stderr once a run has taken more than a second, at
/// most five times a second; a log file gets none. Interrupted, the program ends the line.
class ProgressLine {
public:
    ProgressLine() {
        if (terminal_) {
            std::signal(SIGINT, endProgressLineAndStop);
            std::signal(SIGTERM, endProgressLineAndStop);
        }
    }
    ~ProgressLine() {
        if (terminal_) {
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
        }
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void update(std::uint64_t done, std::uint64_t total) {
        const double seconds = secondsSince(started_);
        if (!terminal_ || seconds <= 1.0 || (done < total && seconds < shownAt_ + 0.2)) {
            return;
        }
        shown_ = true;
        progressLineOpen = 1;
        shownAt_ = seconds;
        std::fprintf(
            stderr, "\r実験中 / running: %3d%% (%llu / %llu)",
            static_cast<int>(100.0 * static_cast<double>(done) / static_cast<double>(total)),
            static_cast<unsigned long long>(done), static_cast<unsigned long long>(total));
        std::fflush(stderr);
    }
    /// Ends the line, if one was shown.
    void finish() {
        if (shown_) {
            progressLineOpen = 0;
            std::fputs("\n", stderr);
        }
    }

private:
    const Clock::time_point started_ = Clock::now();
    const bool terminal_ = isatty(STDERR_FILENO) != 0;
    double shownAt_ = 0.0;
    bool shown_ = false;
};

SimulationResult simulate(const CommandLine& commandLine) {
    SimulationResult result;
    result.seed = commandLine.seed.value_or(freshSeed());
    const unsigned threads = commandLine.threads != 0
                                 ? commandLine.threads
                                 : std::max(1u, std::thread::hardware_concurrency());
    const SimulationRequest request{commandLine.firstRungs, commandLine.start, commandLine.trials,
                                    result.seed, threads};
    result.threads = workerCount(request);
    ProgressLine progress;
    const Clock::time_point started = Clock::now();
    result.counts = simulateLandings(request, [&progress](std::uint64_t done, std::uint64_t total) {
        progress.update(done, total);
    });
    result.seconds = secondsSince(started);
    progress.finish();
    return result;
}

}  // namespace

int runAnalyse(const CommandLine& commandLine) {
    std::string output;
    int chartStatus = 0;
    if (commandLine.allLines) {
        const LawsByStart laws =
            exactLawsOfEveryStart()[static_cast<std::size_t>(commandLine.firstRungs)];
        output = commandLine.csv ? allLinesCsv(laws) : allLinesText(commandLine.firstRungs, laws);
        if (!commandLine.chart.empty()) {
            chartStatus = saveChartFile(commandLine.chart,
                                        allLinesChartSvg({commandLine.firstRungs, laws, {}, {}}),
                                        kAllLinesChartArea);
        }
    } else if (commandLine.rungRange) {
        const std::vector<FairnessRow> rows = fairnessTable(
            commandLine.firstRungs, commandLine.lastRungs, commandLine.rungStep, commandLine.start);
        output = commandLine.csv ? fairnessCsv(rows) : fairnessText(rows, commandLine.start);
        if (!commandLine.chart.empty()) {
            // The lines go through every count of the range; the counts asked for are marked.
            FairnessChart chart{
                commandLine.start,
                fairnessTable(commandLine.firstRungs, commandLine.lastRungs, 1, commandLine.start),
                std::nullopt,
                std::nullopt,
                {}};
            chart.nearlyFair = nearlyFairRange(chart.rows);
            if (commandLine.rungStep > 1) {
                for (const FairnessRow& row : rows) {
                    chart.marked.push_back(row.rungs);
                }
            }
            chartStatus =
                saveChartFile(commandLine.chart, fairnessChartSvg(chart), kFairnessChartArea);
        }
    } else {
        LawReport report{commandLine.firstRungs,
                         commandLine.start,
                         exactLandingLaw(commandLine.firstRungs, commandLine.start),
                         {}};
        if (commandLine.trials > 0) {
            report.simulation = simulate(commandLine);
        }
        output = commandLine.csv ? lawCsv(report) : lawText(report);
        if (!commandLine.chart.empty()) {
            LawChart chart{report.rungs, report.start, report.law, std::nullopt, "実験"};
            if (report.simulation) {
                chart.compared = report.simulation->counts;
            }
            chartStatus = saveChartFile(commandLine.chart, lawChartSvg(chart), kLawChartArea);
        }
        if (!commandLine.worksheet.empty()) {
            chartStatus = std::max(
                chartStatus,
                saveWorksheetFile(commandLine.worksheet,
                                  worksheetSvg(blankWorksheet(report.rungs, report.start))));
        }
    }
    return finishWithOutput(output, chartStatus);
}

}  // namespace tanabashigo
