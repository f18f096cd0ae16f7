#include <QFile>
#include <QTest>

#include <cmath>

#include "landing_law.h"

using namespace tanabashigo;

class LandingLawTest : public QObject {
    Q_OBJECT
private slots:
    void matchesTheIndependentFigures_data();
    void matchesTheIndependentFigures();
};

// data/landing_law.csv: figures computed apart from this program in exact rational arithmetic.
void LandingLawTest::matchesTheIndependentFigures_data() {
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

void LandingLawTest::matchesTheIndependentFigures() {
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

QTEST_APPLESS_MAIN(LandingLawTest)
#include "tst_landing_law.moc"
