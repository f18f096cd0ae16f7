#pragma once

#include <string>
#include <vector>

#include "analysis_report.h"
#include "command_line.h"

namespace tanabashigo {

/// Saves the law chart of `report`, its simulation beside the exact bars; answers the exit
/// status (1, with a message, when the file cannot be written).
int saveLawChartFile(const std::string& path, const LawReport& report);

/// Saves the fairness chart of `rows` from line `start`; answers the exit status as above.
int saveFairnessChartFile(const std::string& path, const std::vector<FairnessRow>& rows, int start);

/// The exit status of writing a chart to `path`: 0 when `saved`, else 1 with a message.
int chartStatus(bool saved, const std::string& path);

/// Runs a headless mode (Analyse or Compare); a chart is drawn without any display.
int runHeadless(int argc, char* argv[], const CommandLine& commandLine);

}  // namespace tanabashigo
