#include <QFile>
#include <QTest>

#include <cmath>
#include <numeric>

#include "comparison_report.h"
#include "fairness_statistics.h"
#include "landing_law.h"
#include "landing_simulation.h"

using namespace tanabashigo;

namespace {

template <class T, class Value>
PerColumn<T> perColumn(const QList<Value>& values) {
    PerColumn<T> columns{};
    std::copy(values.begin(), values.end(), columns.begin());
    return columns;
}
}  // namespace

class AnalysisTest : public QObject {
    Q_OBJECT
private slots:
    // data/landing_law.csv: figures computed apart from this program in exact rational arithmetic.
    void matchesTheIndependentFigures_data() {
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

    void matchesTheIndependentFigures() {
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

    // One run split over threads counts what it counts alone, and follows the exact law.
    void countsDependOnTheSeedNotTheThreads() {
        const std::uint64_t trials = 3 * kTrialsPerBlock + 12'345;  // a part of a fourth block
        const ColumnCounts alone = simulateLandings({20, 4, trials, 2024, 1});
        std::uint64_t reported = 0;
        QCOMPARE(simulateLandings({20, 4, trials, 2024, 3},
                                  [&](std::uint64_t done, std::uint64_t) { reported = done; }),
                 alone);
        QCOMPARE(reported, trials);
        QCOMPARE(std::accumulate(alone.begin(), alone.end(), std::uint64_t{0}), trials);
        QVERIFY(chiSquareTest(alone, exactLandingLaw(20, 4)).pValue > 1e-3);
        QVERIFY(simulateLandings({20, 4, trials, 2025, 2}) != alone);
    }

    // Columns left out of a row are empty and ruled out by the law.
    void chiSquareTestMatchesKnownValues_data() {
        QTest::addColumn<QList<qulonglong>>("counts");
        QTest::addColumn<QList<double>>("law");
        QTest::addColumn<double>("pValue");
        // 60 and 40 against 50 each: 4 on one degree of freedom, P = 2(1 - Phi(2)).
        QTest::newRow("one degree of freedom")
            << QList<qulonglong>{60, 40} << QList<double>{0.5, 0.5} << 0.0455002638963584;
        // One landing where 0.015 were expected would alone add about 65: pooled with its
        // neighbour class the counts agree with the law exactly.
        QTest::newRow("a rare column is pooled")
            << QList<qulonglong>{500, 499, 1} << QList<double>{0.5, 0.499985, 0.000015} << 1.0;
        QTest::newRow("a landing the law rules out")
            << QList<qulonglong>{5, 5, 1} << QList<double>{0.5, 0.5} << 0.0;
    }

    void chiSquareTestMatchesKnownValues() {
        QFETCH(QList<qulonglong>, counts);
        QFETCH(QList<double>, law);
        QFETCH(double, pValue);
        const double p =
            chiSquareTest(perColumn<std::uint64_t>(counts), perColumn<double>(law)).pValue;
        QVERIFY2(std::abs(p - pValue) < 1e-12, qPrintable(QString::number(p)));
    }

    // A comparison is made from one degree of freedom on, in both tests; below it the teacher
    // is told the landings are too few.
    void comparesFromOneDegreeOfFreedom_data() {
        QTest::addColumn<QList<qulonglong>>("counts");
        QTest::addColumn<QList<double>>("law");
        QTest::addColumn<QString>("said");  // a part of the sentence, "|", the figures
        QTest::newRow("two classes of 50")
            << QList<qulonglong>{50, 50} << QList<double>{0.5, 0.5}
            << "|理論の確率に対して：χ² = 0.00、自由度 1、p 値 = 1.00";
        // The second column expects 0.01 landings, pooled into one class; the fair test has 9.
        QTest::newRow("one class against the law")
            << QList<qulonglong>{100, 0} << QList<double>{0.9999, 0.0001}
            << "回数が少なすぎて、まだ比べられません。あと約 ";
    }

    void comparesFromOneDegreeOfFreedom() {
        QFETCH(QList<qulonglong>, counts);
        QFETCH(QList<double>, law);
        QFETCH(QString, said);
        const PlainComparison comparison =
            compareCounts(perColumn<std::uint64_t>(counts), perColumn<double>(law), "実験の結果");
        const QString text = QString::fromStdString(comparison.japanese + "|" + comparison.figures);
        QVERIFY2(text.contains(said), qPrintable(text));
    }

    // The prediction is set beside the landings and the law; a law that is all but even is
    // said to be so, not said to favour the column it favours by a hair.
    void predictionStandsBesideTheResultAndTheLaw_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<QString>("law");
        QTest::newRow("10 rungs") << 10 << "理論でいちばん着きやすいのは 3 の列です。";
        QTest::newRow("150 rungs")
            << 150 << "理論では、どの列に着く確率も 10% との差が 1 ポイント以内で、ほぼ同じです。";
    }

    void predictionStandsBesideTheResultAndTheLaw() {
        QFETCH(int, rungs);
        QFETCH(QString, law);
        Comparison comparison;
        comparison.rungs = rungs;
        comparison.prediction.hands[3] = 5;
        comparison.prediction.hands[4] = 3;
        comparison.prediction.hands[5] = 2;
        comparison.counts[4] = comparison.counts[10] = 7;
        const QString text = QString::fromStdString(
            comparePrediction(comparison, exactLandingLaw(rungs, 3)).japanese);
        QCOMPARE(text,
                 "クラスの予想（手をあげた人 10 人）でいちばん手が多かったのは 3 の列（5 "
                 "人）、いちばん多く着いたのは 4・10 の列です。" +
                     law);
    }
};

QTEST_APPLESS_MAIN(AnalysisTest)
#include "tst_analysis.moc"
