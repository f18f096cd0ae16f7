#include <QProcess>
#include <QTest>

#include "landing_law.h"

using namespace tanabashigo;

namespace {

/// What one run of the program printed.
struct Run {
    int exitStatus = -1;
    QString out;
    QString err;
};

Run runProgram(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TANABASHIGO_EXECUTABLE), arguments);
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit) {
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

class AnalyseCommandTest : public QObject {
    Q_OBJECT
private slots:
    void rejectsBadArguments_data();
    void rejectsBadArguments();
    void printsTheLawAsCsv_data();
    void printsTheLawAsCsv();
};

void AnalyseCommandTest::rejectsBadArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");  // what the message must point at

    QTest::newRow("rungs not a number") << QStringList{"--analyse", "--rungs", "abc"} << "abc";
    QTest::newRow("range backwards") << QStringList{"--analyse", "--rungs", "50:10"} << "50:10";
    QTest::newRow("trials 0") << QStringList{"--analyse", "--trials", "0"} << "trials";
    QTest::newRow("seed too big") << QStringList{"--seed", "4294967296"} << "4294967296";
}

void AnalyseCommandTest::rejectsBadArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const Run run = runProgram(arguments);
    QCOMPARE(run.exitStatus, 2);
    QCOMPARE(run.out, QString());
    const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);  // Japanese, English, where to find help
    QVERIFY2(lines[0].contains(named) || lines[1].contains(named), qPrintable(run.err));
    QVERIFY(lines[2].contains(QStringLiteral("--help")));
}

void AnalyseCommandTest::printsTheLawAsCsv_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::addColumn<qulonglong>("trials");
    QTest::newRow("exact only") << 30 << 3 << 0ull;
    QTest::newRow("with trials") << 50 << 9 << 5000ull;
}

void AnalyseCommandTest::printsTheLawAsCsv() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    QFETCH(qulonglong, trials);
    QStringList arguments{
        "--analyse", "--csv", "--rungs", QString::number(rungs), "--start", QString::number(start)};
    if (trials > 0) {
        arguments << "--trials" << QString::number(trials) << "--seed" << QString::number(rungs);
    }
    const Run run = runProgram(arguments);
    QCOMPARE(run.exitStatus, 0);
    QCOMPARE(run.err, QString());
    const QStringList lines = run.out.split(u'\n');
    QCOMPARE(lines.size(), kLineCount + 2);  // the header, one line a column, a final newline
    QCOMPARE(lines.first() + lines.last(), QStringLiteral("column,exact,count,share"));
    const ColumnLaw law = exactLandingLaw(rungs, start);
    qulonglong counted = 0;
    for (int c = 1; c <= kLineCount; ++c) {
        const QStringList row = lines[c].split(u',');
        QCOMPARE(row.size(), 4);
        QCOMPARE(row[0], QString::number(c));
        QCOMPARE(row[1].toDouble(), law[c]);  // read back exactly
        if (trials == 0) {
            QCOMPARE(row[2] + row[3], QString());
            continue;
        }
        const qulonglong count = row[2].toULongLong();
        QCOMPARE(row[2], QString::number(count));  // a whole number
        QCOMPARE(row[3].toDouble(), double(count) / double(trials));
        counted += count;
    }
    QCOMPARE(counted, trials);
}

QTEST_GUILESS_MAIN(AnalyseCommandTest)
#include "tst_analyse_command.moc"
