#include "comparison_text.h"

#include <algorithm>
#include <cmath>

namespace tanabashigo {

namespace {

/// A p-value as decimals with two significant digits: "0.52", "0.0031", "0.000001 未満".
QString pValueText(double p) {
    if (p < 1e-6) {
        return QStringLiteral("0.000001 未満");
    }
    const int decimals = std::max(2, static_cast<int>(std::ceil(-std::log10(p))) + 1);
    return QString::number(p, 'f', decimals);
}

QString figuresOf(const QString& against, const ChiSquareTest& test) {
    const QString statistic =
        std::isinf(test.statistic) ? QStringLiteral("∞") : QString::number(test.statistic, 'f', 2);
    return QStringLiteral("%1：χ² = %2、自由度 %3、p 値 = %4")
        .arg(against, statistic)
        .arg(test.degreesOfFreedom)
        .arg(pValueText(test.pValue));
}

}  // namespace

PlainComparison compareCounts(const ColumnCounts& counts, const ColumnLaw& law,
                              const QString& whose) {
    const ChiSquareTest exact = chiSquareTest(counts, law);
    const ChiSquareTest fair = chiSquareTest(counts, uniformLaw());
    PlainComparison comparison;
    comparison.figures = figuresOf(QStringLiteral("理論の確率に対して"), exact) +
                         QStringLiteral("\n") +
                         figuresOf(QStringLiteral("公平（どの列も 10%）に対して"), fair);
    if (std::isinf(exact.statistic)) {
        comparison.japanese =
            QStringLiteral("%1には、理論では起こらない列への着地があります。").arg(whose);
        comparison.english =
            QStringLiteral("Some landings fall in a column the exact law rules out.");
        return comparison;
    }
    if (exact.degreesOfFreedom < 1 || fair.degreesOfFreedom < 1) {
        comparison.japanese = QStringLiteral("回数が少なすぎて、まだ比べられません。");
        comparison.english = QStringLiteral("Too few landings to compare yet.");
        return comparison;
    }
    if (exact.pValue >= kSignificance) {
        comparison.japanese =
            QStringLiteral("%1は理論の確率とよく合っています（ずれは偶然で起こる程度です）。")
                .arg(whose);
        comparison.english =
            QStringLiteral("The counts agree with the exact law (the differences are chance).");
    } else {
        comparison.japanese =
            QStringLiteral("%1は理論の確率から、偶然とは考えにくいほどずれています。").arg(whose);
        comparison.english =
            QStringLiteral("The counts differ from the exact law by more than chance.");
    }
    if (fair.pValue < kSignificance) {
        comparison.japanese += QStringLiteral(
            "どの列も 10% の公平なくじなら、偶然でこれほど偏ることは 20 回に 1 回もありません。"
            "このくじは公平とは言えません。");
        comparison.english += QStringLiteral(
            " A fair lottery would be this uneven by chance less than once in 20 times: it is "
            "not fair.");
    } else {
        comparison.japanese += QStringLiteral(
            "公平なくじでも、この程度の偏りは偶然で起こります（この回数では、不公平とは"
            "言い切れません）。");
        comparison.english += QStringLiteral(
            " A fair lottery could be this uneven by chance: these counts cannot tell it is "
            "unfair.");
    }
    return comparison;
}

}  // namespace tanabashigo
