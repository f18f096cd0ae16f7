#include "analysis_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace tanabashigo {

namespace {

constexpr int kLongestBar = 40;
constexpr int kTvBarPerUnit = 50;

/// printf into a std::string.
[[gnu::format(printf, 1, 2)]] std::string format(const char* pattern, ...) {
    std::va_list args;
    va_start(args, pattern);
    char buffer[512];
    const int length = std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return std::string(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

std::string bar(double length) {
    std::string text;
    for (long i = std::lround(length); i > 0; --i) {
        text += "█";
    }
    return text;
}

std::string pValueText(double p) {
    if (p == 0.0) {
        return "< 1e-300";  // below the smallest double
    }
    return p < 1e-4 ? format("%.1e", p) : format("%.4f", p);
}

std::string chiSquareLine(const char* against, const ChiSquareTest& test) {
    const std::string statistic =
        std::isinf(test.statistic) ? std::string("∞") : format("%.2f", test.statistic);
    const std::string pooled =
        test.pooledColumns == 0
            ? std::string()
            : format(
                  "（期待度数 5 未満の %d 列をまとめて検定 / %d columns expected below 5 pooled）",
                  test.pooledColumns, test.pooledColumns);
    return format("  %s: χ² = %s、自由度 %d、p 値 = %s%s\n", against, statistic.c_str(),
                  test.degreesOfFreedom, pValueText(test.pValue).c_str(), pooled.c_str());
}

std::string simulationSummary(const LawReport& report, const SimulationResult& simulation) {
    std::uint64_t trials = 0;
    for (const std::uint64_t count : simulation.counts) {
        trials += count;
    }
    std::string text = format("実験 / simulation: %llu 回、シード %u、%u スレッド、%.2f 秒\n",
                              static_cast<unsigned long long>(trials), simulation.seed,
                              simulation.threads, simulation.seconds);
    text += "カイ二乗検定 / chi-square test:\n";
    text += chiSquareLine("理論の確率に対して / against the exact law",
                          chiSquareTest(simulation.counts, report.law));
    text += chiSquareLine("どの列も 0.1 として / against the uniform law",
                          chiSquareTest(simulation.counts, uniformLaw()));
    return text;
}

}  // namespace

std::string shortestDecimal(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string lawText(const LawReport& report) {
    const std::optional<SimulationResult>& simulation = report.simulation;
    std::uint64_t trials = 0;
    double largest = 0.0;
    for (int column = 1; column <= kLineCount; ++column) {
        largest = std::max(largest, report.law[column]);
        trials += simulation ? simulation->counts[column] : 0;
    }
    std::string text =
        format("着地する列の確率：横線 %d 本、%d 番目の縦線から\n", report.rungs, report.start);
    text += format("Landing law: %d rungs, start line %d\n\n", report.rungs, report.start);
    text += simulation ? "  列  理論の確率    実験の回数  実験の割合  グラフ（理論）\n"
                       : "  列  理論の確率  グラフ\n";
    for (int column = 1; column <= kLineCount; ++column) {
        const double p = report.law[column];
        text += format("%4d  %10.6f", column, p);
        if (simulation) {
            const std::uint64_t count = simulation->counts[column];
            text += format("  %12llu  %10.6f", static_cast<unsigned long long>(count),
                           static_cast<double>(count) / static_cast<double>(trials));
        }
        text += "  " + bar(p / largest * kLongestBar) + "\n";
    }
    text += format(
        "\nどの列も同じ（0.1）ならくじは公平です。/ A fair lottery gives 0.1 each.\n"
        "公平からのずれ（全変動距離）/ total variation distance from uniform: %.6f\n",
        totalVariationFromUniform(report.law));
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

std::string fairnessText(const std::vector<FairnessRow>& rows, int start) {
    std::string text = format("横線の本数と公平さ（%d 番目の縦線から、理論値）\n", start);
    text += format("Fairness by rung count (start line %d, exact law)\n\n", start);
    text +=
        "本数  公平からのずれ  出やすい列（確率）  出にくい列（確率）    確率の比  "
        "グラフ（ずれ）\n";
    for (const FairnessRow& row : rows) {
        const std::string ratio =
            row.minP > 0.0 ? format("%10.2f", row.maxP / row.minP) : std::string("         ∞");
        text += format("%4d  %14.6f  %6d  (%8.6f)  %6d  (%8.6f)  %s  %s\n", row.rungs,
                       row.tvDistance, row.maxColumn, row.maxP, row.minColumn, row.minP,
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

}  // namespace tanabashigo
