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

/// Saves `bytes` to `path` all or nothing; answers 0, or 1 after saying on stderr that
/// `what` (「グラフ」, "the chart") could not be written.
int saveOutputFile(const std::string& path, std::string_view bytes, const std::string& what,
                   const std::string& whatEnglish) {
    const SaveOutcome outcome = saveWholeFile(path, bytes);
    if (outcome.saved()) {
        return 0;
    }
    writeStandardError("tanabashigo: " + what + "を「" + path + "」に書き出せませんでした（" +
                       outcome.japanese() + "）。\ntanabashigo: could not write " + whatEnglish +
                       " to '" + path + "': " + outcome.english() + ".\n");
    return 1;
}

}  // namespace

int saveChartFile(const std::string& path, const std::string& svg, const Box& area) {
    const QByteArray png =
        endsWithPng(path)
            ? chartPng(svg, QSize(static_cast<int>(area.width), static_cast<int>(area.height)))
            : QByteArray();
    return saveOutputFile(
        path, png.isEmpty() ? std::string_view(svg) : std::string_view(png.data(), png.size()),
        "グラフ", "the chart");
}

int saveWorksheetFile(const std::string& path, const std::string& svg) {
    const QByteArray pdf = pagePdf(svg);
    return saveOutputFile(path, std::string_view(pdf.data(), pdf.size()), "ワークシート",
                          "the worksheet");
}

int runHeadless(int argc, char* argv[], const CommandLine& commandLine) {
    const auto run = [&commandLine] {
        return commandLine.mode == CommandLine::Mode::Compare ? runCompare(commandLine)
                                                              : runAnalyse(commandLine);
    };
    if (!endsWithPng(commandLine.chart) && commandLine.worksheet.empty()) {
        QCoreApplication app(argc, argv);
        return run();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return run();
}

}  // namespace tanabashigo
