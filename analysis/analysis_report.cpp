#include "analysis_report.h"

#include <algorithm>
#include <cmath>

#include "comparison_report.h"
#include "number_text.h"

namespace tanabashigo {

namespace {

constexpr int kLongestBar = 40;
constexpr int kTvBarPerUnit = 50;

std::string bar(double length) {
    std::string text;
    for (long i = std::lround(length); i > 0; --i) {
        text += "█";
    }
    return text;
}

std::string chiSquareLine(const char* against, const ChiSquareTest& test) {
    return std::string("  ") + against + ": " + chiSquareFigures(test) + "\n";
}

std::string simulationSummary(const LawReport& report, const SimulationResult& simulation) {
    std::string text =
        formatted("実験 / simulation: %llu 回、乱数の種 %u、%u スレッド、%s 秒\n",
                  static_cast<unsigned long long>(landingsOf(simulation.counts)), simulation.seed,
                  simulation.threads, fixedText(simulation.seconds, 2).c_str());
    text += "カイ二乗検定 / chi-square test:\n";
    const PlainComparison plain = compareCounts(simulation.counts, report.law, "実験の結果");
    if (plain.figures.empty()) {
        return text + "  " + plain.japanese + "\n  " + plain.english + "\n";
    }
    text += chiSquareLine("理論の確率に対して / against the exact law",
                          chiSquareTest(simulation.counts, report.law));
    text += chiSquareLine("どの列も 0.1 として / against the uniform law",
                          chiSquareTest(simulation.counts, uniformLaw()));
    return text;
}

}  // namespace

std::string lawText(const LawReport& report) {
    const std::optional<SimulationResult>& simulation = report.simulation;
    std::uint64_t trials = 0;
    double largest = 0.0;
    for (int column = 1; column <= kLineCount; ++column) {
        largest = std::max(largest, report.law[column]);
        trials += simulation ? simulation->counts[column] : 0;
    }
    std::string text =
        formatted("着地する列の確率：横線 %d 本、%d 番目の縦線から\n", report.rungs, report.start);
    text += formatted("Landing law: %d rungs, start line %d\n\n", report.rungs, report.start);
    text += simulation ? "  列  理論の確率    実験の回数  実験の割合  グラフ（理論）\n"
                       : "  列  理論の確率  グラフ\n";
    for (int column = 1; column <= kLineCount; ++column) {
        const double p = report.law[column];
        text += formatted("%4d  %10s", column, fixedText(p, 6).c_str());
        if (simulation) {
            const std::uint64_t count = simulation->counts[column];
            text += formatted(
                "  %12llu  %10s", static_cast<unsigned long long>(count),
                fixedText(static_cast<double>(count) / static_cast<double>(trials), 6).c_str());
        }
        text += "  " + bar(p / largest * kLongestBar) + "\n";
    }
    text += formatted(
        "\nどの列も同じ（0.1）ならくじは公平です。/ A fair lottery gives 0.1 each.\n"
        "公平からのずれ（全変動距離）/ total variation distance from uniform: %s\n",
        fixedText(totalVariationFromUniform(report.law), 6).c_str());
    if (simulation) {
        text += simulationSummary(report, *simulation);
    }
    return text;
}

std::string lawCsv(const LawReport& report) {
    std::string text = "column,exact,count,share\n";
    std::uint64_t trials = 0;
    for (int column = 1; column <= kLineCount && report.simulation; ++column) {
        trials += report.simulation->counts[column];
    }
    for (int column = 1; column <= kLineCount; ++column) {
        text += std::to_string(column) + "," + shortestDecimal(report.law[column]) + ",";
        if (report.simulation) {
            const std::uint64_t count = report.simulation->counts[column];
            text += std::to_string(count) + "," +
                    shortestDecimal(static_cast<double>(count) / static_cast<double>(trials));
        } else {
            text += ",";
        }
        text += "\n";
    }
    return text;
}

std::string allLinesCsv(const LawsByStart& laws) {
    std::string text = "start,column,exact\n";
    for (int start = 1; start <= kLineCount; ++start) {
        for (int column = 1; column <= kLineCount; ++column) {
            text += std::to_string(start) + "," + std::to_string(column) + "," +
                    shortestDecimal(laws[start][column]) + "\n";
        }
    }
    return text;
}

std::string allLinesText(int rungs, const LawsByStart& laws) {
    std::string text =
        formatted("どの線からスタートしても：着地する列の確率（%%）、横線 %d 本\n", rungs);
    text += formatted("Landing law from every start line (%%), %d rungs\n\n", rungs);
    text += "スタート＼列";
    for (int column = 1; column <= kLineCount; ++column) {
        text += formatted("%6d", column);
    }
    PerColumn<double> totals{};
    for (int start = 1; start <= kLineCount; ++start) {
        text += formatted("\n%9d 本目", start);
        for (int column = 1; column <= kLineCount; ++column) {
            text += formatted("%6s", fixedText(laws[start][column] * 100.0, 1).c_str());
            totals[column] += laws[start][column];
        }
    }
    text += "\n     列の合計";
    for (const double total : totals) {
        text += formatted("%6s", fixedText(total * 100.0, 1).c_str());
    }
    return text + "\n";
}

std::string fairnessText(const std::vector<FairnessRow>& rows, int start) {
    std::string text = formatted("横線の本数と公平さ（%d 番目の縦線から、理論値）\n", start);
    text += formatted("Fairness by rung count (start line %d, exact law)\n\n", start);
    text +=
        "本数  公平からのずれ  出やすい列（確率）  出にくい列（確率）    確率の比  "
        "グラフ（ずれ）\n";
    for (const FairnessRow& row : rows) {
        const std::string ratio = row.minP > 0.0
                                      ? formatted("%10s", fixedText(row.maxP / row.minP, 2).c_str())
                                      : std::string("         ∞");
        text +=
            formatted("%4d  %14s  %6d  (%8s)  %6d  (%8s)  %s  %s\n", row.rungs,
                      fixedText(row.tvDistance, 6).c_str(), row.maxColumn,
                      fixedText(row.maxP, 6).c_str(), row.minColumn, fixedText(row.minP, 6).c_str(),
                      ratio.c_str(), bar(row.tvDistance * kTvBarPerUnit).c_str());
    }
    text +=
        "\n公平からのずれ：0 なら完全に公平、0.9 ならいつも同じ列（全変動距離）。\n"
        "確率の比：いちばん出やすい列が、いちばん出にくい列の何倍出やすいか。\n"
        "tv distance 0 = fair, 0.9 = always the same column; ratio = most / least likely.\n";
    return text;
}

std::string fairnessCsv(const std::vector<FairnessRow>& rows) {
    std::string text = "rungs,tv_distance,max_column,max_p,min_column,min_p\n";
    for (const FairnessRow& row : rows) {
        text += std::to_string(row.rungs) + "," + shortestDecimal(row.tvDistance) + "," +
                std::to_string(row.maxColumn) + "," + shortestDecimal(row.maxP) + "," +
                std::to_string(row.minColumn) + "," + shortestDecimal(row.minP) + "\n";
    }
    return text;
}

std::string lawTableForSpreadsheet(int rungs, int start, const ColumnLaw& law,
                                   const ColumnCounts* counts) {
    constexpr char kLineEnd[] = "\r\n";
    std::string text = "\xEF\xBB\xBF";  // the byte-order mark: a spreadsheet then reads UTF-8
    text += "横線の本数," + std::to_string(rungs) + kLineEnd;
    text += "スタートの縦線," + std::to_string(start) + kLineEnd;
    const std::uint64_t landings = counts != nullptr ? landingsOf(*counts) : 0;
    if (counts != nullptr) {
        text += "着地の回数," + std::to_string(landings) + kLineEnd;
    }
    text += counts != nullptr ? "列,理論の確率（%）,回数,割合（%）" : "列,理論の確率（%）";
    text += kLineEnd;
    for (int column = 1; column <= kLineCount; ++column) {
        text += std::to_string(column) + ',' + fixedText(law[column] * 100.0, 1);
        if (counts != nullptr) {
            const std::uint64_t count = (*counts)[column];
            text +=
                ',' + std::to_string(count) + ',' +
                (landings == 0
                     ? std::string()
                     : fixedText(static_cast<double>(count) / static_cast<double>(landings) * 100.0,
                                 1));
        }
        text += kLineEnd;
    }
    return text;
}

}  // namespace tanabashigo
