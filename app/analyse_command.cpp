#include "analyse_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "analysis_report.h"
#include "random_source.h"

namespace tanabashigo {

namespace {

using Clock = std::chrono::steady_clock;

/// Seconds since `since`.
double secondsSince(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

/// Shows a progress line on stderr once a run has taken more than a second.
class ProgressLine {
public:
    void update(std::uint64_t done, std::uint64_t total) {
        if (secondsSince(started_) <= 1.0) {
            return;
        }
        shown_ = true;
        std::fprintf(
            stderr, "\r実験中 / running: %3d%% (%llu / %llu)",
            static_cast<int>(100.0 * static_cast<double>(done) / static_cast<double>(total)),
            static_cast<unsigned long long>(done), static_cast<unsigned long long>(total));
        std::fflush(stderr);
    }
    /// Ends the line, if one was shown.
    void finish() {
        if (shown_) {
            std::fputs("\n", stderr);
        }
    }

private:
    const Clock::time_point started_ = Clock::now();
    bool shown_ = false;
};

SimulationResult simulate(const CommandLine& commandLine) {
    SimulationResult result;
    result.seed = commandLine.seed.value_or(freshSeed());
    result.threads = commandLine.threads != 0 ? commandLine.threads
                                              : std::max(1u, std::thread::hardware_concurrency());
    const SimulationRequest request{commandLine.firstRungs, commandLine.start, commandLine.trials,
                                    result.seed, result.threads};
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
    if (commandLine.rungRange) {
        const std::vector<FairnessRow> rows = fairnessTable(
            commandLine.firstRungs, commandLine.lastRungs, commandLine.rungStep, commandLine.start);
        output = commandLine.csv ? fairnessCsv(rows) : fairnessText(rows, commandLine.start);
    } else {
        LawReport report{commandLine.firstRungs,
                         commandLine.start,
                         exactLandingLaw(commandLine.firstRungs, commandLine.start),
                         {}};
        if (commandLine.trials > 0) {
            report.simulation = simulate(commandLine);
        }
        output = commandLine.csv ? lawCsv(report) : lawText(report);
    }
    std::fputs(output.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tanabashigo
