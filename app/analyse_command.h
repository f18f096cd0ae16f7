#pragma once

#include "command_line.h"

namespace tanabashigo {

/// Prints the analysis the command line asks for on stdout; answers the exit status.
int runAnalyse(const CommandLine& commandLine);

}  // namespace tanabashigo
