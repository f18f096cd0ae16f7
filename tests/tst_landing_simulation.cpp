#include <QTest>

#include "engine_fixture.h"

#include <numeric>
#include <set>
#include <thread>

#include "fairness_statistics.h"
#include "ladder.h"
#include "landing_law.h"
#include "landing_simulation.h"
#include "rung_sampler.h"
#include "sorted_ladder.h"
#include "tracer.h"

using namespace tanabashigo;

namespace {

std::uint64_t total(const ColumnCounts& counts) {
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
}

unsigned cores() {
    return std::max(2u, std::thread::hardware_concurrency());
}

}  // namespace

class LandingSimulationTest : public QObject {
    Q_OBJECT
private slots:
    void sortedLadderLandsWhereTheTracerLands_data();
    void sortedLadderLandsWhereTheTracerLands();
    void countsAgreeWithTheExactLaw_data();
    void countsAgreeWithTheExactLaw();
    void countsDependOnTheSeedNotTheThreads_data();
    void countsDependOnTheSeedNotTheThreads();
    void progressReachesTheTotalOnTheCallingThread();
    void blocksDrawFromTheirOwnGenerators();
    void noMoreThreadsThanBlocks_data();
    void noMoreThreadsThanBlocks();
};

void LandingSimulationTest::noMoreThreadsThanBlocks_data() {
    QTest::addColumn<qulonglong>("trials");
    QTest::addColumn<uint>("asked");
    QTest::addColumn<uint>("used");
    QTest::newRow("one block") << 5ull << 256u << 1u;
    QTest::newRow("three blocks") << qulonglong(2 * kTrialsPerBlock + 1) << 8u << 3u;
    QTest::newRow("more blocks than threads") << qulonglong(9 * kTrialsPerBlock) << 4u << 4u;
    QTest::newRow("none asked for") << 5ull << 0u << 1u;
}

void LandingSimulationTest::noMoreThreadsThanBlocks() {
    QFETCH(qulonglong, trials);
    QFETCH(uint, asked);
    QFETCH(uint, used);
    QCOMPARE(workerCount({30, 3, trials, 1, asked}), used);
}

void LandingSimulationTest::sortedLadderLandsWhereTheTracerLands_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("ladders");
    QTest::newRow("10 rungs") << 10 << 3000;
    QTest::newRow("30 rungs") << 30 << 3000;
    QTest::newRow("50 rungs") << 50 << 3000;
    QTest::newRow("100 rungs") << 100 << 1000;
}

void LandingSimulationTest::sortedLadderLandsWhereTheTracerLands() {
    QFETCH(int, rungs);
    QFETCH(int, ladders);
    // The window builds its ladders one after another from one seeded source, as the
    // sampler does.
    const auto seed = static_cast<std::uint32_t>(rungs) * 7919u;
    RandomSource random(seed);
    RungSampler sampler(seed);
    Ladder ladder;
    ladder.setRungCount(rungs);
    int moved = 0;
    for (int n = 0; n < ladders; ++n) {
        ladder.restart();
        while (ladder.tick(random).kind != LadderTick::Kind::Complete) {
        }
        QCOMPARE(sampler.next(rungs), rungsByHeight(ladder));
        const SortedLadder sorted(ladder);
        for (int start = 1; start <= kLineCount; ++start) {
            const int column = traceFrom(ladder, start);
            QCOMPARE(sorted.landingColumn(start), column);
            moved += column != start;
        }
    }
    QVERIFY(moved > ladders);  // the ladders did move the paths
}

void LandingSimulationTest::countsAgreeWithTheExactLaw_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::addColumn<uint>("seed");
    QTest::addColumn<qulonglong>("trials");
    QTest::newRow("no rung, line 5") << 0 << 5 << 11u << 1000ull;
    QTest::newRow("10 rungs, line 3") << 10 << 3 << 12u << 200'000ull;
    QTest::newRow("30 rungs, line 3") << 30 << 3 << 13u << 200'000ull;
    QTest::newRow("50 rungs, line 1") << 50 << 1 << 14u << 200'000ull;
    QTest::newRow("50 rungs, line 8") << 50 << 8 << 15u << 200'000ull;
    QTest::newRow("100 rungs, line 10") << 100 << 10 << 16u << 50'000ull;
}

void LandingSimulationTest::countsAgreeWithTheExactLaw() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    QFETCH(uint, seed);
    QFETCH(qulonglong, trials);
    const ColumnCounts counts = simulateLandings({rungs, start, trials, seed, cores()});
    QCOMPARE(total(counts), std::uint64_t{trials});
    const ChiSquareTest exact = chiSquareTest(counts, exactLandingLaw(rungs, start));
    QVERIFY2(exact.pValue > 1e-3, qPrintable(QString::number(exact.statistic)));
    // The experiment is large enough to see that the lottery is not fair.
    QVERIFY(chiSquareTest(counts, uniformLaw()).pValue < 1e-6);
}

void LandingSimulationTest::countsDependOnTheSeedNotTheThreads_data() {
    QTest::addColumn<unsigned>("threads");
    QTest::newRow("2 threads") << 2u;
    QTest::newRow("3 threads") << 3u;
    QTest::newRow("8 threads") << 8u;
}

void LandingSimulationTest::countsDependOnTheSeedNotTheThreads() {
    QFETCH(unsigned, threads);
    // Three whole blocks and a part of a fourth.
    const std::uint64_t trials = 3 * kTrialsPerBlock + 12'345;
    const ColumnCounts alone = simulateLandings({20, 4, trials, 2024, 1});
    const ColumnCounts shared = simulateLandings({20, 4, trials, 2024, threads});
    QCOMPARE(shared, alone);
    QCOMPARE(total(shared), trials);
    QVERIFY(simulateLandings({20, 4, trials, 2025, threads}) != alone);
}

void LandingSimulationTest::progressReachesTheTotalOnTheCallingThread() {
    const std::uint64_t trials = 5 * kTrialsPerBlock;
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::uint64_t> reports;
    bool onCaller = true;
    simulateLandings({10, 3, trials, 7, 2}, [&](std::uint64_t done, std::uint64_t all) {
        QCOMPARE(all, trials);
        reports.push_back(done);
        onCaller = onCaller && std::this_thread::get_id() == caller;
    });
    QVERIFY(onCaller);
    QVERIFY(!reports.empty());
    QVERIFY(std::is_sorted(reports.begin(), reports.end()));
    QCOMPARE(reports.back(), trials);
}

void LandingSimulationTest::blocksDrawFromTheirOwnGenerators() {
    std::set<std::uint32_t> seeds;
    for (std::uint64_t block = 0; block < 1000; ++block) {
        seeds.insert(blockSeed(2024, block));
    }
    seeds.insert(blockSeed(2025, 0));
    QCOMPARE(int(seeds.size()), 1001);
}

QTEST_APPLESS_MAIN(LandingSimulationTest)
#include "tst_landing_simulation.moc"
