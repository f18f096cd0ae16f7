#include <QFile>
#include <QTest>

#include "engine_fixture.h"

#include <cmath>
#include <limits>
#include <numeric>

#include "fairness_statistics.h"
#include "landing_law.h"
#include "landing_simulation.h"
#include "sorted_ladder.h"

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

class AnalysisTest : public QObject {
    Q_OBJECT
private slots:
    void matchesTheIndependentFigures_data();
    void matchesTheIndependentFigures();
    void sortedLadderLandsWhereTheWindowLands_data();
    void sortedLadderLandsWhereTheWindowLands();
    void countsAgreeWithTheExactLaw_data();
    void countsAgreeWithTheExactLaw();
    void countsDependOnTheSeedNotTheThreads();
    void chiSquareTestMatchesKnownValues_data();
    void chiSquareTestMatchesKnownValues();
};

// data/landing_law.csv: figures computed apart from this program in exact rational arithmetic.
void AnalysisTest::matchesTheIndependentFigures_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::addColumn<QStringList>("law");
    QFile file(QFINDTESTDATA("data/landing_law.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    file.readLine();
    while (!file.atEnd()) {
        const QStringList fields = QString::fromLatin1(file.readLine().trimmed()).split(',');
        QTest::addRow("%s rungs, line %s", qPrintable(fields[0]), qPrintable(fields[1]))
            << fields[0].toInt() << fields[1].toInt() << fields.mid(2);
    }
}

void AnalysisTest::matchesTheIndependentFigures() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    QFETCH(QStringList, law);
    QCOMPARE(law.size(), kLineCount);
    // Alone, and as one step of the sweep up to every rung count.
    for (const ColumnLaw& computed :
         {exactLandingLaw(rungs, start), exactLandingLaws(start)[rungs]}) {
        for (int column = 1; column <= kLineCount; ++column) {
            QVERIFY2(std::abs(computed[column] - law[column - 1].toDouble()) < 1e-12,
                     qPrintable(QStringLiteral("column %1").arg(column)));
        }
    }
}

void AnalysisTest::sortedLadderLandsWhereTheWindowLands_data() {
    QTest::addColumn<int>("rungs");
    QTest::newRow("10 rungs") << 10;
    QTest::newRow("50 rungs") << 50;
    QTest::newRow("100 rungs") << 100;
}

// On the window's own ladders the one-pass tracer lands where the window's tracer does.
void AnalysisTest::sortedLadderLandsWhereTheWindowLands() {
    QFETCH(int, rungs);
    RandomSource random(static_cast<std::uint32_t>(rungs) * 7919u);
    Ladder ladder;
    ladder.setRungCount(rungs);
    int moved = 0;
    for (int n = 0; n < 1000; ++n) {
        ladder.restart();
        completeLadder(ladder, random);
        for (int start = 1; start <= kLineCount; ++start) {
            const int column = traceFrom(ladder, start);
            QCOMPARE(SortedLadder(ladder).landingColumn(start), column);
            moved += column != start;
        }
    }
    QVERIFY(moved > 1000);
}

void AnalysisTest::countsAgreeWithTheExactLaw_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::addColumn<qulonglong>("trials");
    QTest::newRow("10 rungs, line 3") << 10 << 3 << 200'000ull;
    QTest::newRow("50 rungs, line 8") << 50 << 8 << 200'000ull;
    QTest::newRow("100 rungs, line 10") << 100 << 10 << 50'000ull;
}

void AnalysisTest::countsAgreeWithTheExactLaw() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    QFETCH(qulonglong, trials);
    const ColumnCounts counts = simulateLandings({rungs, start, trials, 13, 2});
    QCOMPARE(std::accumulate(counts.begin(), counts.end(), std::uint64_t{0}), trials);
    const ChiSquareTest exact = chiSquareTest(counts, exactLandingLaw(rungs, start));
    QVERIFY2(exact.pValue > 1e-3, qPrintable(QString::number(exact.statistic)));
    // The run is large enough to see that the lottery is not fair.
    QVERIFY(chiSquareTest(counts, uniformLaw()).pValue < 1e-6);
}

void AnalysisTest::countsDependOnTheSeedNotTheThreads() {
    const std::uint64_t trials = 3 * kTrialsPerBlock + 12'345;  // a part of a fourth block
    const ColumnCounts alone = simulateLandings({20, 4, trials, 2024, 1});
    std::uint64_t reported = 0;
    for (const unsigned threads : {2u, 3u, 8u}) {
        QCOMPARE(simulateLandings({20, 4, trials, 2024, threads},
                                  [&](std::uint64_t done, std::uint64_t) { reported = done; }),
                 alone);
        QCOMPARE(reported, trials);
    }
    QVERIFY(simulateLandings({20, 4, trials, 2025, 2}) != alone);
}

void AnalysisTest::chiSquareTestMatchesKnownValues_data() {
    QTest::addColumn<QList<qulonglong>>("counts");
    QTest::addColumn<QList<double>>("law");
    QTest::addColumn<double>("statistic");
    QTest::addColumn<int>("degreesOfFreedom");
    QTest::addColumn<double>("pValue");

    const double infinity = std::numeric_limits<double>::infinity();
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
    QTest::newRow("a landing the law rules out")
        << QList<qulonglong>{5, 5, 1, 0, 0, 0, 0, 0, 0, 0}
        << QList<double>{0.5, 0.5, 0, 0, 0, 0, 0, 0, 0, 0} << infinity << 1 << 0.0;
}

void AnalysisTest::chiSquareTestMatchesKnownValues() {
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

QTEST_APPLESS_MAIN(AnalysisTest)
#include "tst_analysis.moc"
