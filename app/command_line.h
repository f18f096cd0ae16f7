#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tanabashigo {

/// What the command line asks the program to do.
struct CommandLine {
    enum class Mode {
        Window,   ///< open the main window
        Analyse,  ///< headless analysis, no window
        Exit,     ///< already answered (help, version, or a bad argument)
        Theory,   ///< open the theory window
        Compare,  ///< headless comparison of a record file with the exact law
        Lesson,   ///< open the lesson window
    };
    Mode mode = Mode::Window;
    int exitStatus = 0;                 ///< for Exit
    std::string refusal;                ///< Exit after a bad argument: what stderr was told
    std::optional<std::uint32_t> seed;  ///< fixed generator seed, no clock reseeding

    /// Window and Lesson: the period of the ladder and path timers in ms (3..200); when given,
    /// no trial is cut short and every landing stays on view for 2 s.
    std::optional<int> tickMs;
    double zoom = 1.0;       ///< window only: scale of both windows and their boxes, 1..4
    bool zoomToFit = false;  ///< window only: the largest zoom at which the window fits
    std::string recordPath;  ///< window and lesson: append every landing to this file; empty = none

    /// Analyse only: rung counts first, first + step, ..., up to last (one count when equal).
    int firstRungs = 50;
    int lastRungs = 50;
    int rungStep = 1;
    bool rungRange = false;          ///< --rungs was given as A:B[:STEP]: the fairness table
    int start = 3;                   ///< Analyse and Lesson: start line 1..10
    std::optional<int> lessonRungs;  ///< Lesson only: open at this rung count, without asking
    std::uint64_t trials = 0;        ///< simulated trials; 0 = the exact law only
    unsigned threads = 0;            ///< worker threads; 0 = one per core
    bool csv = false;                ///< machine-readable output
    bool allLines = false;           ///< Analyse only: the law of every start line at once
    std::string chart;  ///< Analyse and Compare: the chart's file (.png or .svg), if any
    /// Analyse and Compare: the worksheet's file (.pdf), if any: the blank sheet of one rung
    /// count and start line, or the one filled with the landings --compare prints.
    std::string worksheet;

    /// Compare only: the record files (several are a class's, pooled), and the experiment to
    /// compare (0 = every experiment, each rung count and start line on its own).
    std::vector<std::string> records;
    int experiment = 0;
};

/// Reads the arguments, file names as the bytes given: the mode first, then each option
/// against the modes it belongs to; prints help, version and argument errors itself.
CommandLine parseCommandLine(int argc, char* argv[]);

}  // namespace tanabashigo
