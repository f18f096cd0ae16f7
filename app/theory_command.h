#pragma once

#include "command_line.h"

namespace tanabashigo {

/// Shows the theory window in the running application until it closes; answers the exit
/// status. --seed gives the simulations' first seed.
int runTheoryWindow(const CommandLine& commandLine);

}  // namespace tanabashigo
