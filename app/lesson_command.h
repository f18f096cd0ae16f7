#pragma once

#include "command_line.h"

namespace tanabashigo {

class LandingRecorder;

/// Shows the lesson window in the running application until it closes; answers the exit
/// status. `recorder` is the --record file's, or null: the landings then go to a record in
/// the user's data folder.
int runLessonWindow(const CommandLine& commandLine, LandingRecorder* recorder);

}  // namespace tanabashigo
