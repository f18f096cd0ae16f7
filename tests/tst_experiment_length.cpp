#include <QFile>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "experiment_length.h"

using namespace tanabashigo;

class ExperimentLengthTest : public QObject {
    Q_OBJECT
private slots:
    void matchesIndependentFigures();
    void agreesWithSimulatedExperiments_data();
    void agreesWithSimulatedExperiments();
};

// Rows computed elsewhere in exact arithmetic: rungs, mean, median, P(T <= 60), P(T <= 100).
void ExperimentLengthTest::matchesIndependentFigures() {
    QFile file(TANABASHIGO_TEST_DATA "/experiment_length.csv");
    QVERIFY(file.open(QIODevice::ReadOnly));
    file.readLine();
    int rows = 0;
    for (; !file.atEnd(); ++rows) {
        const QList<QByteArray> f = file.readLine().trimmed().split(',');
        const ExperimentLength length = experimentLength(exactLandingLaw(f[0].toInt(), 3));
        const QByteArray row = "rungs " + f[0];
        QVERIFY2(std::abs(length.mean() / f[1].toDouble() - 1) < 1e-9, row);
        QVERIFY2(length.median() == f[2].toInt(), row);
        QVERIFY2(std::abs(length.endedBy(60) - f[3].toDouble()) < 1e-9, row);
        QVERIFY2(std::abs(length.endedBy(100) - f[4].toDouble()) < 1e-9, row);
        const double total = std::accumulate(length.endsWith.begin(), length.endsWith.end(), 0.0);
        QVERIFY2(std::abs(total - 1) < 1e-12, row);
    }
    QCOMPARE(rows, 11);
}

void ExperimentLengthTest::agreesWithSimulatedExperiments_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("capacity");
    QTest::newRow("10 rungs") << 10 << 20;
    QTest::newRow("40 rungs") << 40 << 20;
    QTest::newRow("15 rungs, columns of 3") << 15 << 3;
    QTest::newRow("200 rungs, columns of 1") << 200 << 1;
}

// Runs experiments with landings drawn from the law and compares the distribution of their
// lengths with the exact one (Kolmogorov-Smirnov, about one chance in a thousand to fail).
void ExperimentLengthTest::agreesWithSimulatedExperiments() {
    QFETCH(int, rungs);
    QFETCH(int, capacity);
    const ColumnLaw law = exactLandingLaw(rungs, 3);
    const ExperimentLength length = experimentLength(law, capacity);
    std::mt19937_64 random(static_cast<std::uint64_t>(rungs * 100 + capacity));
    std::discrete_distribution<int> landing(law.begin(), law.end());
    constexpr int kExperiments = 20'000;
    std::vector<int> endedWith(length.endsWith.size() + 1, 0);
    for (int e = 0; e < kExperiments; ++e) {
        std::array<int, kLineCount> counts{};
        int trial = 1;
        for (int column = landing(random); counts[column] < capacity; column = landing(random)) {
            ++counts[column];
            ++trial;
        }
        ++endedWith[std::min<std::size_t>(trial, endedWith.size() - 1)];
    }
    QCOMPARE(endedWith.back(), 0);
    double ended = 0;
    double distance = 0;
    for (std::size_t t = 0; t < length.endsWith.size(); ++t) {
        ended += endedWith[t] / double(kExperiments);
        distance = std::max(distance, std::abs(ended - length.endedBy(int(t))));
    }
    QVERIFY2(distance < 1.95 / std::sqrt(kExperiments), qPrintable(QString::number(distance)));
}

QTEST_APPLESS_MAIN(ExperimentLengthTest)
#include "tst_experiment_length.moc"
