#include "comparison_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "landing_law.h"
#include "number_text.h"

namespace tanabashigo {

namespace {

/// The most landings a count of how many more are needed looks at.
constexpr std::uint64_t kMostLandingsAhead = 1'000'000;

/// Whether `landings` landings, wherever they fall, can be tested against `law` and the fair
/// lottery: each test keeps at least two classes.
bool testable(std::uint64_t landings, const ColumnLaw& law) {
    ColumnCounts counts{};
    counts[1] = landings;
    return chiSquareTest(counts, law).degreesOfFreedom >= 1 &&
           chiSquareTest(counts, uniformLaw()).degreesOfFreedom >= 1;
}

/// About how many more landings make `landings` testable against `law` (which must allow it).
std::uint64_t landingsNeeded(std::uint64_t landings, const ColumnLaw& law) {
    std::uint64_t more = 1;
    while (!testable(landings + more, law)) {
        more += more < 100 ? 1 : more / 50;
    }
    return more;
}

/// How rarely a fair lottery is this uneven: 「20 回に 1 回もありません」 and the like.
std::pair<std::string, std::string> rarity(double p) {
    struct Bound {
        double p;
        const char* japanese;
        const char* english;
    };
    static constexpr std::array<Bound, 4> kBounds{{{1e-6, "100万回に1回", "once in a million"},
                                                   {1e-3, "1000回に1回", "once in 1000"},
                                                   {1e-2, "100回に1回", "once in 100"},
                                                   {kSignificance, "20回に1回", "once in 20"}}};
    for (const Bound& bound : kBounds) {
        if (p < bound.p) {
            return {bound.japanese, bound.english};
        }
    }
    return {"20回に1回", "once in 20"};
}

}  // namespace

std::uint64_t landingsOf(const ColumnCounts& counts) {
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
}

std::string pValueText(double p) {
    if (p == 0.0) {
        return "p 値 < 1e-300";  // below the smallest double
    }
    if (p < 1e-4) {
        return "p 値 = " + scientificText(p, 1);
    }
    const int decimals = std::max(2, static_cast<int>(std::ceil(-std::log10(p))) + 1);
    return "p 値 = " + fixedText(p, decimals);
}

std::string chiSquareFigures(const ChiSquareTest& test) {
    const std::string statistic = std::isinf(test.statistic) ? "∞" : fixedText(test.statistic, 2);
    std::string text = "χ² = " + statistic + "、自由度 " + std::to_string(test.degreesOfFreedom) +
                       "、" + pValueText(test.pValue);
    if (test.pooledColumns > 0) {
        text += "（期待度数 5 未満の " + std::to_string(test.pooledColumns) +
                " 列をまとめて検定 / " + std::to_string(test.pooledColumns) +
                " columns expected below 5 pooled）";
    }
    return text;
}

PlainComparison compareCounts(const ColumnCounts& counts, const ColumnLaw& law,
                              const std::string& whose) {
    const ChiSquareTest exact = chiSquareTest(counts, law);
    const ChiSquareTest fair = chiSquareTest(counts, uniformLaw());
    PlainComparison comparison;
    if (std::isinf(exact.statistic)) {
        comparison.japanese = whose + "には、理論では起こらない列への着地があります。";
        comparison.english = "Some landings fall in a column the exact law rules out.";
        return comparison;
    }
    if (exact.degreesOfFreedom < 1 || fair.degreesOfFreedom < 1) {
        if (!testable(kMostLandingsAhead, law)) {
            comparison.japanese = "この横線の本数では、着く列が一つしかないので比べられません。";
            comparison.english =
                "With this rung count every path lands in one column: there "
                "is nothing to compare.";
            return comparison;
        }
        const std::string more = std::to_string(landingsNeeded(landingsOf(counts), law));
        comparison.japanese =
            "回数が少なすぎて、まだ比べられません。あと約 " + more + " 回着地すると比べられます。";
        comparison.english = "Too few landings to compare yet: about " + more + " more are needed.";
        return comparison;
    }
    comparison.figures = "理論の確率に対して：" + chiSquareFigures(exact) +
                         "\n公平（どの列も 10%）に対して：" + chiSquareFigures(fair);
    if (exact.pValue >= kSignificance) {
        comparison.japanese =
            whose + "は理論の確率とよく合っています（ずれは偶然で起こる程度です）。";
        comparison.english = "The counts agree with the exact law (the differences are chance).";
    } else {
        comparison.japanese = whose + "は理論の確率から、偶然とは考えにくいほどずれています。";
        comparison.english = "The counts differ from the exact law by more than chance.";
    }
    if (fair.pValue < kSignificance) {
        const auto [japanese, english] = rarity(fair.pValue);
        comparison.japanese +=
            std::string("どの列も 10% の公平なくじなら、偶然でこれほど偏ることは") + japanese +
            "もありません。このくじは公平とは言えません。";
        comparison.english += std::string(
                                  " A fair lottery would be this uneven by chance less "
                                  "than ") +
                              english + ": it is not fair.";
    } else {
        comparison.japanese +=
            "公平なくじでも、この程度の偏りは偶然で起こります（この回数では、不公平とは"
            "言い切れません）。";
        comparison.english +=
            " A fair lottery could be this uneven by chance: these counts cannot tell it is "
            "unfair.";
    }
    return comparison;
}

namespace {

/// The columns (1..10) whose values lie within `slack` of the largest of `values`, as 「3」,
/// 「3・4」 or, in English, "3" and "3, 4".
template <class Values>
std::pair<std::string, std::string> mostColumns(const Values& values, double slack = 0) {
    const double most = static_cast<double>(*std::max_element(values.begin(), values.end()));
    std::pair<std::string, std::string> columns;
    int column = 1;
    for (const auto value : values) {
        if (static_cast<double>(value) >= most - slack) {
            columns.first += (columns.first.empty() ? "" : "・") + std::to_string(column);
            columns.second += (columns.second.empty() ? "" : ", ") + std::to_string(column);
        }
        ++column;
    }
    return columns;
}

}  // namespace

PlainComparison comparePrediction(const Comparison& comparison, const ColumnLaw& law) {
    const ClassPrediction& prediction = comparison.prediction;
    if (prediction.empty()) {
        return {};
    }
    const auto [handsJa, handsEn] = mostColumns(prediction.hands);
    const auto [landedJa, landedEn] = mostColumns(comparison.counts);
    const std::string hands = std::to_string(prediction.total());
    const std::string most =
        std::to_string(*std::max_element(prediction.hands.begin(), prediction.hands.end()));
    PlainComparison said{
        "クラスの予想（手をあげた人 " + hands + " 人）でいちばん手が多かったのは " + handsJa +
            " の列（" + most + " 人）、いちばん多く着いたのは " + landedJa + " の列です。",
        "The class's prediction (" + hands + " hands) chose column " + handsEn + " most (" + most +
            " hands); most landings fell in column " + landedEn + ".",
        {}};
    // Where the law is all but even, the column it favours by a hair would mislead.
    if (isNearlyFair(law)) {
        said.japanese +=
            "理論では、どの列に着く確率も 10% との差が 1 ポイント以内で、ほぼ同じです。";
        said.english += " The exact law gives every column within 1 point of 10 %.";
    } else {
        const auto [lawJa, lawEn] = mostColumns(law, 1e-12);
        said.japanese += "理論でいちばん着きやすいのは " + lawJa + " の列です。";
        said.english += " The exact law favours column " + lawEn + ".";
    }
    return said;
}

std::string comparisonText(const Comparison& comparison) {
    const ColumnLaw law = exactLandingLaw(comparison.rungs, comparison.start);
    const std::uint64_t total = landingsOf(comparison.counts);
    const std::string ladder = std::to_string(comparison.rungs);
    const std::string start = std::to_string(comparison.start);
    std::string text = comparison.name + "：横線 " + ladder + " 本、" + start + " 本目から、" +
                       std::to_string(total) + " 回\n" + comparison.name + ": " + ladder +
                       " rungs from line " + start + ", " + std::to_string(total) +
                       " landings\n"
                       "列 / column   理論 / exact   回数 / count   割合 / share\n";
    for (int column = 1; column <= kLineCount; ++column) {
        const double share = total == 0 ? 0.0
                                        : static_cast<double>(comparison.counts[column]) /
                                              static_cast<double>(total);
        text += formatted("%12d   %11s%%   %12llu   %11s%%\n", column,
                          fixedText(law[column] * 100.0, 2).c_str(),
                          static_cast<unsigned long long>(comparison.counts[column]),
                          fixedText(share * 100.0, 2).c_str());
    }
    const PlainComparison plain = compareCounts(comparison.counts, law, comparison.whose);
    text += plain.japanese + '\n' + plain.english + '\n';
    if (const PlainComparison predicted = comparePrediction(comparison, law);
        !predicted.japanese.empty()) {
        text += predicted.japanese + '\n' + predicted.english + '\n';
    }
    return plain.figures.empty() ? text : text + plain.figures + '\n';
}

std::string comparisonCsvHeader() {
    return "rungs,start,column,exact,count,share\n";
}

std::string comparisonCsvRows(const Comparison& comparison) {
    const ColumnLaw law = exactLandingLaw(comparison.rungs, comparison.start);
    const std::uint64_t total = landingsOf(comparison.counts);
    std::string text;
    for (int column = 1; column <= kLineCount; ++column) {
        const std::uint64_t count = comparison.counts[column];
        text += std::to_string(comparison.rungs) + ',' + std::to_string(comparison.start) + ',' +
                std::to_string(column) + ',' + shortestDecimal(law[column]) + ',' +
                std::to_string(count) + ',' +
                (total == 0
                     ? std::string()
                     : shortestDecimal(static_cast<double>(count) / static_cast<double>(total))) +
                '\n';
    }
    return text;
}

}  // namespace tanabashigo
