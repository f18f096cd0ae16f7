#include "headless_run.h"

#include <QGuiApplication>

#include "analyse_command.h"
#include "chart_view.h"
#include "command_output.h"
#include "compare_command.h"
#include "whole_file.h"

namespace tanabashigo {

namespace {

bool endsWithPng(const std::string& path) {
    return QByteArray::fromStdString(path).toLower().endsWith(".png");
}

}  // namespace

int saveChartFile(const std::string& path, const std::string& svg, const Box& area) {
    const QByteArray png =
        endsWithPng(path)
            ? chartPng(svg, QSize(static_cast<int>(area.width), static_cast<int>(area.height)))
            : QByteArray();
    const SaveOutcome outcome = saveWholeFile(
        path, png.isEmpty() ? std::string_view(svg) : std::string_view(png.data(), png.size()));
    if (outcome.saved()) {
        return 0;
    }
    writeStandardError("tanabashigo: グラフを「" + path + "」に書き出せませんでした（" +
                       outcome.japanese() + "）。\ntanabashigo: could not write the chart to '" +
                       path + "': " + outcome.english() + ".\n");
    return 1;
}

int runHeadless(int argc, char* argv[], const CommandLine& commandLine) {
    const auto run = [&commandLine] {
        return commandLine.mode == CommandLine::Mode::Compare ? runCompare(commandLine)
                                                              : runAnalyse(commandLine);
    };
    if (!endsWithPng(commandLine.chart)) {
        QCoreApplication app(argc, argv);
        return run();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return run();
}

}  // namespace tanabashigo
