#include <QTest>

#include <cmath>
#include <limits>

#include "fairness_statistics.h"

using namespace tanabashigo;

namespace {

ColumnLaw lawOf(const QList<double>& probabilities) {
    ColumnLaw law{};
    std::copy(probabilities.begin(), probabilities.end(), law.begin());
    return law;
}

ColumnCounts countsOf(const QList<qulonglong>& landings) {
    ColumnCounts counts{};
    std::copy(landings.begin(), landings.end(), counts.begin());
    return counts;
}

const QList<double> kUniform(kLineCount, 0.1);

}  // namespace

class FairnessStatisticsTest : public QObject {
    Q_OBJECT
private slots:
    void chiSquareTest_data();
    void chiSquareTest();
    void totalVariationFromUniform_data();
    void totalVariationFromUniform();
    void fairnessRowTakesTheLeftmostExtremes();
    void fairnessTableFollowsTheRange_data();
    void fairnessTableFollowsTheRange();
};

void FairnessStatisticsTest::chiSquareTest_data() {
    QTest::addColumn<QList<qulonglong>>("counts");
    QTest::addColumn<QList<double>>("law");
    QTest::addColumn<double>("statistic");
    QTest::addColumn<int>("degreesOfFreedom");
    QTest::addColumn<double>("pValue");

    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("counts exactly as expected")
        << QList<qulonglong>(kLineCount, 10) << kUniform << 0.0 << 9 << 1.0;
    // Two columns at 60 and 40 against 50 each: 4, and P(chi-square, 1 d.f. > 4) = 2(1 - Phi(2)).
    QTest::newRow("one degree of freedom")
        << QList<qulonglong>{60, 40, 0, 0, 0, 0, 0, 0, 0, 0}
        << QList<double>{0.5, 0.5, 0, 0, 0, 0, 0, 0, 0, 0} << 4.0 << 1 << 0.0455002638963584;
    // 100 landings in column 1, expected 10 per column: 90^2/10 + 9 * 10^2/10 = 900.
    QTest::newRow("all in one column against uniform")
        << QList<qulonglong>{100, 0, 0, 0, 0, 0, 0, 0, 0, 0} << kUniform << 900.0 << 9 << 0.0;
    // One landing where 0.015 were expected would alone add about 65: pooled with its
    // neighbour class the counts agree with the law exactly.
    QTest::newRow("a rare column is pooled")
        << QList<qulonglong>{500, 499, 1, 0, 0, 0, 0, 0, 0, 0}
        << QList<double>{0.5, 0.499985, 0.000015, 0, 0, 0, 0, 0, 0, 0} << 0.0 << 1 << 1.0;
    QTest::newRow("too few landings for any test")
        << QList<qulonglong>{1, 1, 1, 0, 0, 0, 0, 0, 0, 0} << kUniform << 0.0 << 0 << 1.0;
    QTest::newRow("a landing the law rules out")
        << QList<qulonglong>{5, 5, 1, 0, 0, 0, 0, 0, 0, 0}
        << QList<double>{0.5, 0.5, 0, 0, 0, 0, 0, 0, 0, 0} << infinity << 1 << 0.0;
    QTest::newRow("a single possible column")
        << QList<qulonglong>{0, 0, 7, 0, 0, 0, 0, 0, 0, 0}
        << QList<double>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0} << 0.0 << 0 << 1.0;
}

void FairnessStatisticsTest::chiSquareTest() {
    QFETCH(QList<qulonglong>, counts);
    QFETCH(QList<double>, law);
    QFETCH(double, statistic);
    QFETCH(int, degreesOfFreedom);
    QFETCH(double, pValue);
    const ChiSquareTest test = tanabashigo::chiSquareTest(countsOf(counts), lawOf(law));
    if (std::isinf(statistic)) {
        QVERIFY(std::isinf(test.statistic));
    } else {
        QVERIFY(std::abs(test.statistic - statistic) < 1e-9);
    }
    QCOMPARE(test.degreesOfFreedom, degreesOfFreedom);
    QVERIFY2(std::abs(test.pValue - pValue) < 1e-12, qPrintable(QString::number(test.pValue)));
}

void FairnessStatisticsTest::totalVariationFromUniform_data() {
    QTest::addColumn<QList<double>>("law");
    QTest::addColumn<double>("distance");
    QTest::newRow("uniform") << kUniform << 0.0;
    QTest::newRow("certain") << QList<double>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0} << 0.9;
    QTest::newRow("one column moved")
        << QList<double>{0.2, 0, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1} << 0.1;
}

void FairnessStatisticsTest::totalVariationFromUniform() {
    QFETCH(QList<double>, law);
    QFETCH(double, distance);
    QVERIFY(std::abs(tanabashigo::totalVariationFromUniform(lawOf(law)) - distance) < 1e-15);
}

void FairnessStatisticsTest::fairnessRowTakesTheLeftmostExtremes() {
    const ColumnLaw law = lawOf({0.1, 0.25, 0.05, 0.25, 0.05, 0.1, 0.05, 0.05, 0.05, 0.05});
    const FairnessRow row = fairnessRow(17, law);
    QCOMPARE(row.rungs, 17);
    QCOMPARE(row.maxColumn, 2);
    QCOMPARE(row.maxP, 0.25);
    QCOMPARE(row.minColumn, 3);
    QCOMPARE(row.minP, 0.05);
    QVERIFY(std::abs(row.tvDistance - 0.3) < 1e-15);
}

void FairnessStatisticsTest::fairnessTableFollowsTheRange_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("rungs");
    QTest::newRow("10:50:10") << 10 << 50 << 10 << QList<int>{10, 20, 30, 40, 50};
    QTest::newRow("step past the end") << 10 << 25 << 10 << QList<int>{10, 20};
    QTest::newRow("single count") << 225 << 225 << 1 << QList<int>{225};
    QTest::newRow("from none") << 0 << 3 << 1 << QList<int>{0, 1, 2, 3};
}

void FairnessStatisticsTest::fairnessTableFollowsTheRange() {
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, step);
    QFETCH(QList<int>, rungs);
    const std::vector<FairnessRow> rows = fairnessTable(first, last, step, 6);
    QCOMPARE(int(rows.size()), int(rungs.size()));
    for (int i = 0; i < rungs.size(); ++i) {
        const FairnessRow expected = fairnessRow(rungs[i], exactLandingLaw(rungs[i], 6));
        QCOMPARE(rows[i].rungs, rungs[i]);
        QCOMPARE(rows[i].maxColumn, expected.maxColumn);
        QCOMPARE(rows[i].minColumn, expected.minColumn);
        QVERIFY(std::abs(rows[i].tvDistance - expected.tvDistance) < 1e-12);
    }
}

QTEST_APPLESS_MAIN(FairnessStatisticsTest)
#include "tst_fairness_statistics.moc"
