#pragma once

#include "command_line.h"

namespace tanabashigo {

/// Prints a record file's counts beside the exact law, with the plain comparison; answers
/// the exit status (2, with a message, for a file that cannot be read or has no such
/// experiment).
int runCompare(const CommandLine& commandLine);

}  // namespace tanabashigo
