#include <QTest>

#include <cmath>
#include <limits>

#include "fairness_statistics.h"

using namespace tanabashigo;

namespace {

template <class T, class Value>
PerColumn<T> perColumn(const QList<Value>& values) {
    PerColumn<T> columns{};
    std::copy(values.begin(), values.end(), columns.begin());
    return columns;
}

const QList<double> kUniform(kLineCount, 0.1);

}  // namespace

class FairnessStatisticsTest : public QObject {
    Q_OBJECT
private slots:
    void chiSquareTest_data();
    void chiSquareTest();
    void fairnessRowTakesTheLeftmostExtremes();
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
    const ChiSquareTest test =
        tanabashigo::chiSquareTest(perColumn<std::uint64_t>(counts), perColumn<double>(law));
    if (std::isinf(statistic)) {
        QVERIFY(std::isinf(test.statistic));
    } else {
        QVERIFY(std::abs(test.statistic - statistic) < 1e-9);
    }
    QCOMPARE(test.degreesOfFreedom, degreesOfFreedom);
    QVERIFY2(std::abs(test.pValue - pValue) < 1e-12, qPrintable(QString::number(test.pValue)));
}

void FairnessStatisticsTest::fairnessRowTakesTheLeftmostExtremes() {
    const QList<double> law{0.1, 0.25, 0.05, 0.25, 0.05, 0.1, 0.05, 0.05, 0.05, 0.05};
    const FairnessRow row = fairnessRow(17, perColumn<double>(law));
    QCOMPARE((QList<double>{double(row.maxColumn), row.maxP, double(row.minColumn), row.minP}),
             (QList<double>{2, 0.25, 3, 0.05}));
    QVERIFY(std::abs(row.tvDistance - 0.3) < 1e-15);
}

QTEST_APPLESS_MAIN(FairnessStatisticsTest)
#include "tst_fairness_statistics.moc"
