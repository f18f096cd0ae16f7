#pragma once

#include <cstdint>
#include <optional>

namespace tanabashigo {

/// What the command line asks the program to do.
struct CommandLine {
    enum class Mode {
        Window,   ///< open the main window
        Analyse,  ///< headless analysis, no window
        Exit,     ///< already answered (help, version, or a bad argument)
    };
    Mode mode = Mode::Window;
    int exitStatus = 0;                 ///< for Exit
    std::optional<std::uint32_t> seed;  ///< fixed generator seed, no clock reseeding
};

/// Reads the arguments; prints help, version and argument errors itself.
CommandLine parseCommandLine(int argc, char* argv[]);

}  // namespace tanabashigo
