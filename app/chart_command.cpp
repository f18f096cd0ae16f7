#include "chart_command.h"

#include <QGuiApplication>
#include <cstdio>

#include "analyse_command.h"
#include "compare_command.h"
#include "fairness_chart.h"
#include "law_chart.h"

namespace tanabashigo {

int chartStatus(bool saved, const std::string& path) {
    if (saved) {
        return 0;
    }
    const QString message = QStringLiteral(
                                "tanabashigo: グラフを「%1」に書き出せませんでした。\n"
                                "tanabashigo: could not write the chart to '%1'.\n")
                                .arg(QString::fromLocal8Bit(path.c_str()));
    std::fputs(message.toUtf8().constData(), stderr);
    return 1;
}

int saveLawChartFile(const std::string& path, const LawReport& report) {
    LawChart chart{report.rungs, report.start, report.law, std::nullopt, QString()};
    if (report.simulation) {
        chart.compared = sharesOf(report.simulation->counts);
        chart.comparedName = QStringLiteral("実験");
    }
    return chartStatus(saveLawChart(QString::fromLocal8Bit(path.c_str()), chart), path);
}

int saveFairnessChartFile(const std::string& path, const std::vector<FairnessRow>& rows,
                          int start) {
    const FairnessChart chart{start, rows, std::nullopt, nearlyFairRange(rows)};
    return chartStatus(saveFairnessChart(QString::fromLocal8Bit(path.c_str()), chart), path);
}

int runHeadless(int argc, char* argv[], const CommandLine& commandLine) {
    const auto run = [&commandLine] {
        return commandLine.mode == CommandLine::Mode::Compare ? runCompare(commandLine)
                                                              : runAnalyse(commandLine);
    };
    if (commandLine.chart.empty()) {
        QCoreApplication app(argc, argv);
        return run();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return run();
}

}  // namespace tanabashigo
