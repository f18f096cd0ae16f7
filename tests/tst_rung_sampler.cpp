#include <QTest>

#include <atomic>
#include <numeric>

#include "fairness_statistics.h"
#include "landing_law.h"
#include "landing_simulation.h"
#include "rung_sampler.h"

using namespace tanabashigo;

namespace {

std::uint64_t total(const ColumnCounts& counts) {
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
}

}  // namespace

class RungSamplerTest : public QObject {
    Q_OBJECT
private slots:
    void landingsFollowTheExactLaw_data();
    void landingsFollowTheExactLaw();
    void cancelStopsTheRun_data();
    void cancelStopsTheRun();
};

void RungSamplerTest::landingsFollowTheExactLaw_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::newRow("no rung") << 0 << 5;
    QTest::newRow("one rung") << 1 << 3;
    QTest::newRow("10 rungs") << 10 << 10;
    QTest::newRow("50 rungs") << 50 << 3;
    QTest::newRow("112 rungs, the most placed one by one") << 112 << 1;
    QTest::newRow("113 rungs, the fewest left empty") << 113 << 8;
    QTest::newRow("224 rungs") << 224 << 2;
    QTest::newRow("every slot") << 225 << 4;
}

// Half a million ladders (not a whole number of lanes) against the exact law; a column the
// law rules out fails at once. The seed is fixed: a correct sampler fails nowhere near 1e-4.
void RungSamplerTest::landingsFollowTheExactLaw() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    constexpr std::uint64_t kTrials = 500'001;
    FastRandom random(static_cast<std::uint64_t>(rungs * 16 + start));
    RungSampler sampler(rungs);
    ColumnCounts counts{};
    sampler.addLandings(start, kTrials, random, counts);
    QCOMPARE(total(counts), kTrials);
    const ChiSquareTest test = chiSquareTest(counts, exactLandingLaw(rungs, start));
    QVERIFY2(test.pValue > 1e-4, qPrintable(QString::number(test.statistic)));
}

void RungSamplerTest::cancelStopsTheRun_data() {
    QTest::addColumn<bool>("before");
    QTest::addColumn<unsigned>("threads");
    QTest::newRow("cancelled before the start") << true << 2u;
    QTest::newRow("cancelled at the first report, one thread") << false << 1u;
    QTest::newRow("cancelled at the first report, four threads") << false << 4u;
}

// A run of ten billion trials would take minutes; cancelled, it returns with few of them.
void RungSamplerTest::cancelStopsTheRun() {
    QFETCH(bool, before);
    QFETCH(unsigned, threads);
    std::atomic<bool> cancel = before;
    SimulationRequest request{50, 3, 10'000'000'000ull, 1, threads};
    request.cancel = &cancel;
    const ColumnCounts counts =
        simulateLandings(request, [&cancel](std::uint64_t, std::uint64_t) { cancel = true; });
    QVERIFY(total(counts) < 100'000'000ull);
}

QTEST_APPLESS_MAIN(RungSamplerTest)
#include "tst_rung_sampler.moc"
