#include "chart_command.h"

#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "analyse_command.h"
#include "chart_export.h"
#include "fairness_chart.h"
#include "law_chart.h"

namespace tanabashigo {

namespace {

const QSize kLawChartSize(1200, 720);
const QSize kFairnessChartSize(1200, 600);

/// Saves the chart; on failure says so in both languages and answers 1.
int save(const std::string& path, const QSize& size, const QString& title,
         const ChartPainter& paint) {
    const QString file = QString::fromLocal8Bit(path.c_str());
    if (saveChart(file, size, title, paint)) {
        return 0;
    }
    const QString message = QStringLiteral(
                                "tanabashigo: グラフを「%1」に書き出せませんでした。\n"
                                "tanabashigo: could not write the chart to '%1'.\n")
                                .arg(file);
    std::fputs(message.toUtf8().constData(), stderr);
    return 1;
}

}  // namespace

int saveLawChartFile(const std::string& path, const LawReport& report) {
    LawChart chart{report.rungs, report.start, report.law, std::nullopt, QString()};
    if (report.simulation) {
        chart.compared = sharesOf(report.simulation->counts);
        chart.comparedName = QStringLiteral("実験");
    }
    return save(
        path, kLawChartSize, QStringLiteral("着く列の確率"),
        [&chart](QPainter& painter, const QRectF& area) { paintLawChart(painter, area, chart); });
}

int saveFairnessChartFile(const std::string& path, const std::vector<FairnessRow>& rows,
                          int start) {
    const FairnessChart chart{start, rows, std::nullopt, nearlyFairRange(rows)};
    return save(path, kFairnessChartSize, QStringLiteral("横線の本数と公平さ"),
                [&chart](QPainter& painter, const QRectF& area) {
                    paintFairnessChart(painter, area, chart);
                });
}

int runHeadless(int argc, char* argv[], const CommandLine& commandLine) {
    const auto run = [&commandLine] { return runAnalyse(commandLine); };
    if (commandLine.chart.empty()) {
        QCoreApplication app(argc, argv);
        return run();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return run();
}

}  // namespace tanabashigo
