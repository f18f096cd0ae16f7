#include <QTest>

#include "engine_fixture.h"

#include <cmath>
#include <functional>
#include <vector>

#include "ladder.h"
#include "landing_law.h"
#include "tracer.h"

using namespace tanabashigo;

namespace {

constexpr double kTolerance = 1e-12;

/// One place a rung may stand.
struct Slot {
    int gap;
    int height;
};

/// Every slot of the ladder: even gaps at odd heights 11..59, odd gaps at even heights 12..60.
std::vector<Slot> allSlots() {
    std::vector<Slot> places;
    for (int gap = 2; gap <= 10; ++gap) {
        for (int step = 0; step < 25; ++step) {
            places.push_back({gap, 2 * step + (gap % 2 == 0 ? 11 : 12)});
        }
    }
    return places;
}

/// Calls `visit` with a finished ladder for every set of `rungs` distinct slots.
void forEveryLadder(int rungs, const std::function<void(const Ladder&)>& visit) {
    const std::vector<Slot> places = allSlots();
    std::vector<Slot> chosen;
    std::function<void(int)> choose = [&](int firstSlot) {
        if (static_cast<int>(chosen.size()) == rungs) {
            Ladder ladder;
            ladder.setRungCount(rungs);
            for (const Slot& slot : chosen) {
                ladder.place(slot.gap, slot.height);
            }
            visit(ladder);
            return;
        }
        for (int s = firstSlot; s < static_cast<int>(places.size()); ++s) {
            chosen.push_back(places[s]);
            choose(s + 1);
            chosen.pop_back();
        }
    };
    choose(0);
}

/// A law that is certain of `column`.
QList<double> certain(int column) {
    QList<double> law(kLineCount, 0.0);
    law[column - 1] = 1.0;
    return law;
}

}  // namespace

class LandingLawTest : public QObject {
    Q_OBJECT
private slots:
    void matchesHandCheckedCases_data();
    void matchesHandCheckedCases();
    void agreesWithEveryLadderTraced_data();
    void agreesWithEveryLadderTraced();
    void sumsToOneForEveryRungCount_data();
    void sumsToOneForEveryRungCount();
    void mirroredStartsGiveMirroredLaws_data();
    void mirroredStartsGiveMirroredLaws();
};

void LandingLawTest::matchesHandCheckedCases_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<double>>("expected");

    QTest::newRow("no rung, line 3") << 0 << 3 << certain(3);
    QTest::newRow("no rung, line 8") << 0 << 8 << certain(8);
    // A single rung moves the path only from the 25 places of each gap beside its line.
    QTest::newRow("one rung, line 3")
        << 1 << 3 << QList<double>{0, 1.0 / 9, 7.0 / 9, 1.0 / 9, 0, 0, 0, 0, 0, 0};
    QTest::newRow("one rung, line 1")
        << 1 << 1 << QList<double>{8.0 / 9, 1.0 / 9, 0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("one rung, line 10")
        << 1 << 10 << QList<double>{0, 0, 0, 0, 0, 0, 0, 0, 1.0 / 9, 8.0 / 9};
    // With every slot taken the path moves one line per height and turns back at the edge
    // lines, which wait one height: 50 heights take line S to line 11 - S.
    for (const int start : {1, 3, 5, 6, 10}) {
        QTest::addRow("all 225 slots, line %d", start)
            << kSlotCount << start << certain(11 - start);
    }
}

void LandingLawTest::matchesHandCheckedCases() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    QFETCH(QList<double>, expected);
    const ColumnLaw law = exactLandingLaw(rungs, start);
    for (int column = 1; column <= kLineCount; ++column) {
        QVERIFY2(std::abs(law[column] - expected[column - 1]) < kTolerance,
                 qPrintable(QString::number(column)));
    }
}

void LandingLawTest::agreesWithEveryLadderTraced_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::addColumn<double>("ladders");  // 225 choose rungs
    QTest::newRow("1 rung, line 1") << 1 << 1 << 225.0;
    QTest::newRow("1 rung, line 6") << 1 << 6 << 225.0;
    QTest::newRow("2 rungs, line 3") << 2 << 3 << 25200.0;
    QTest::newRow("2 rungs, line 10") << 2 << 10 << 25200.0;
    QTest::newRow("3 rungs, line 4") << 3 << 4 << 1873200.0;
}

void LandingLawTest::agreesWithEveryLadderTraced() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    QFETCH(double, ladders);
    PerColumn<double> landings{};
    double traced = 0;
    forEveryLadder(rungs, [&](const Ladder& ladder) {
        ++landings[traceFrom(ladder, start)];
        ++traced;
    });
    QCOMPARE(traced, ladders);
    const ColumnLaw law = exactLandingLaw(rungs, start);
    for (int column = 1; column <= kLineCount; ++column) {
        QCOMPARE(qRound64(law[column] * ladders), qint64(landings[column]));
        QVERIFY(std::abs(law[column] - landings[column] / ladders) < kTolerance);
    }
}

void LandingLawTest::sumsToOneForEveryRungCount_data() {
    QTest::addColumn<int>("start");
    for (int start = 1; start <= kLineCount; ++start) {
        QTest::addRow("line %d", start) << start;
    }
}

void LandingLawTest::sumsToOneForEveryRungCount() {
    QFETCH(int, start);
    const std::vector<ColumnLaw> laws = exactLandingLaws(start);
    QCOMPARE(int(laws.size()), kSlotCount + 1);
    for (int rungs = 0; rungs <= kSlotCount; ++rungs) {
        double sum = 0.0;
        for (const double p : laws[rungs]) {
            QVERIFY(p >= 0.0);
            sum += p;
        }
        QVERIFY2(std::abs(sum - 1.0) < kTolerance, qPrintable(QString::number(rungs)));
    }
    // Stopping the sweep at a rung count must not change that count's law.
    for (const int rungs : {0, 1, 37, 112, 224, 225}) {
        const ColumnLaw alone = exactLandingLaw(rungs, start);
        for (int column = 1; column <= kLineCount; ++column) {
            QVERIFY(std::abs(alone[column] - laws[rungs][column]) < kTolerance);
        }
    }
}

void LandingLawTest::mirroredStartsGiveMirroredLaws_data() {
    QTest::addColumn<int>("start");
    for (int start = 1; start <= 5; ++start) {
        QTest::addRow("line %d and line %d", start, 11 - start) << start;
    }
}

void LandingLawTest::mirroredStartsGiveMirroredLaws() {
    QFETCH(int, start);
    const std::vector<ColumnLaw> laws = exactLandingLaws(start);
    const std::vector<ColumnLaw> mirrored = exactLandingLaws(11 - start);
    for (int rungs = 0; rungs <= kSlotCount; ++rungs) {
        for (int c = 1; c <= kLineCount; ++c) {
            QVERIFY2(std::abs(laws[rungs][c] - mirrored[rungs][kLineCount + 1 - c]) < kTolerance,
                     qPrintable(QStringLiteral("%1 rungs, column %2").arg(rungs).arg(c)));
        }
    }
    // Only the mirror, not any start, gives the mirrored law.
    QVERIFY(std::abs(laws[10][start] - mirrored[10][start]) > 0.01);
}

QTEST_APPLESS_MAIN(LandingLawTest)
#include "tst_landing_law.moc"
