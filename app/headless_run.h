#pragma once

#include <string>

#include "command_line.h"
#include "svg_document.h"

namespace tanabashigo {

/// Saves a chart document to `path`, as it is for .svg or rendered `area`-sized for .png, all
/// or nothing; answers the exit status (1, with a message, when it cannot be saved).
int saveChartFile(const std::string& path, const std::string& svg, const Box& area);

/// Saves a worksheet document to `path` as one A4 page of PDF, all or nothing; answers the
/// exit status as saveChartFile() does.
int saveWorksheetFile(const std::string& path, const std::string& svg);

/// Runs a headless mode (Analyse or Compare); a PNG chart or a PDF worksheet is rendered
/// without any display.
int runHeadless(int argc, char* argv[], const CommandLine& commandLine);

}  // namespace tanabashigo
