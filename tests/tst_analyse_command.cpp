#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "command_line.h"
#include "landing_law.h"
#include "reference_law.h"

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

/// The leftmost column whose chance is the largest (or, with `least`, the smallest).
int extremeColumn(const ColumnLaw& law, bool least) {
    int found = 1;
    for (int c = 2; c <= kLineCount; ++c) {
        if (least ? law[c] < law[found] - 1e-15 : law[c] > law[found] + 1e-15) {
            found = c;
        }
    }
    return found;
}

/// What a command line asks for, in a few words a test can compare.
QString describe(const QStringList& arguments) {
    std::vector<std::string> texts{"tanabashigo"};
    for (const QString& argument : arguments) {
        texts.push_back(argument.toStdString());
    }
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const CommandLine line = parseCommandLine(static_cast<int>(texts.size()), argv.data());
    if (line.mode == CommandLine::Mode::Exit) {
        return QStringLiteral("refused %1").arg(line.exitStatus);
    }
    QStringList words{QString::number(static_cast<int>(line.mode))};
    for (const std::string& record : line.records) {
        words << QString::fromStdString(record);
    }
    words << (line.csv ? "csv" : "table") << QString::number(line.experiment)
          << QString::number(line.firstRungs) << QString::fromStdString(line.chart);
    return words.join(u' ');
}

}  // namespace

class AnalyseCommandTest : public QObject {
    Q_OBJECT
private slots:
    void printedFiguresMatchTheIndependentLaw_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("rows");  // figures checked
        const QString record = QFINDTESTDATA("data/class_record.csv");
        QTest::newRow("fairness from line 9, ties to the left")
            << QStringList{"--analyse", "--rungs", "0:225", "--start", "9", "--csv"} << 226;
        QTest::newRow("the law alone as CSV")
            << QStringList{"--analyse", "--rungs", "30", "--start", "9", "--csv"} << 10;
        QTest::newRow("simulated from line 9")
            << QStringList{"--analyse", "--rungs", "20",     "--start", "9",
                           "--trials",  "400000",  "--seed", "7",       "--csv"}
            << 10;
        for (const char* rungs : {"10", "50", "150"}) {
            QTest::addRow("every start line, %s rungs", rungs)
                << QStringList{"--analyse", "--rungs", rungs, "--all-lines", "--csv"} << 100;
        }
        QTest::newRow("a record beside the law") << QStringList{"--compare", record} << 20;
        QTest::newRow("a record as CSV") << QStringList{"--compare", record, "--csv"} << 20;
    }

    // Every exact figure the commands print is the law computed apart from this program; counts
    // simulated from a line follow that line's law (five standard deviations), add up to the
    // trials, and their shares are the counts over the trials.
    void printedFiguresMatchTheIndependentLaw() {
        QFETCH(QStringList, arguments);
        QFETCH(int, rows);
        const Run run = runProgram(arguments);
        QCOMPARE(run.exitStatus, 0);
        const int start = arguments.contains("--start") ? 9 : 3;
        static const QRegularExpression ladder(QStringLiteral("横線 (\\d+) 本、(\\d+) 本目から"));
        static const QRegularExpression row(
            QStringLiteral("^ +(\\d+) +([0-9.]+)% +\\d+ +[0-9.]+%$"));
        const auto option = [&arguments](const char* name) {
            const qsizetype at = arguments.indexOf(name);
            return at < 0 ? 0 : arguments.at(at + 1).toInt();
        };
        const int trials = option("--trials");
        int rungs = 0, checked = 0, counted = 0;
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split(',');
            if (const auto found = ladder.match(line); found.hasMatch()) {
                rungs = found.captured(1).toInt();
                QCOMPARE(found.captured(2).toInt(), start);
            } else if (const auto figures = row.match(line); figures.hasMatch()) {
                const double exact = referenceLaw(rungs, start)[figures.captured(1).toInt()];
                QCOMPARE(figures.captured(2), QString::number(exact * 100.0, 'f', 2));
                ++checked;
            } else if (f.size() == 3 && f[0] == "start") {
                QCOMPARE(line, QStringLiteral("start,column,exact"));
            } else if (f.size() == 3) {
                const double exact = referenceLaw(option("--rungs"), f[0].toInt())[f[1].toInt()];
                QVERIFY2(std::abs(f[2].toDouble() - exact) < 1e-12, qPrintable(line));
                ++checked;
            } else if (f.size() == 6 && f[0] != "rungs" && arguments.contains("--compare")) {
                const ColumnLaw law = referenceLaw(f[0].toInt(), f[1].toInt());
                QVERIFY2(std::abs(f[3].toDouble() - law[f[2].toInt()]) < 1e-12, qPrintable(line));
                ++checked;
            } else if (f.size() == 6 && f[0] != "rungs") {
                const ColumnLaw law = referenceLaw(f[0].toInt(), start);
                QCOMPARE(f[2].toInt(), extremeColumn(law, false));
                QCOMPARE(f[4].toInt(), extremeColumn(law, true));
                QVERIFY2(std::abs(f[3].toDouble() - law[f[2].toInt()]) < 1e-12 &&
                             std::abs(f[5].toDouble() - law[f[4].toInt()]) < 1e-12,
                         qPrintable(line));
                ++checked;
            } else if (f[0] == "column") {
                QCOMPARE(line, QStringLiteral("column,exact,count,share"));
            } else if (f.size() == 4) {
                const double p = referenceLaw(option("--rungs"), start)[f[0].toInt()];
                const double expected = trials * p;
                QVERIFY2(std::abs(f[1].toDouble() - p) < 1e-12 &&
                             (trials == 0 ? f[2] + f[3] == QString()
                                          : std::abs(f[2].toDouble() - expected) <=
                                                    5 * std::sqrt(expected) + 1 &&
                                                std::abs(f[3].toDouble() -
                                                         f[2].toDouble() / trials) < 1e-12),
                         qPrintable(line));
                counted += f[2].toULongLong();
                ++checked;
            }
        }
        QCOMPARE(counted, trials);
        QCOMPARE(checked, rows);
    }

    // Each row: pieces of a command line (an option with its value is one piece). Every order of
    // the pieces in which the file names keep their order, and a piece that begins with "--"
    // stays last, must read as the command line given beside them.
    void readsOptionsWhereverTheyStand_data() {
        QTest::addColumn<QList<QStringList>>("pieces");
        QTest::addColumn<QString>("reads");  // the first order, compared with the order given
        QTest::newRow("a class's files with CSV and an experiment")
            << QList<QStringList>{{"--compare"},
                                  {"--csv"},
                                  {"a.csv"},
                                  {"b.csv"},
                                  {"--experiment", "2"}}
            << "--compare a.csv b.csv --csv --experiment 2";
        QTest::newRow("one file and a chart")
            << QList<QStringList>{{"--compare"}, {"c.csv"}, {"--chart", "c.svg"}}
            << "--compare c.csv --chart c.svg";
        QTest::newRow("the law as CSV")
            << QList<QStringList>{{"--analyse"}, {"--csv"}, {"--rungs", "30"}}
            << "--rungs=30 --csv --analyse";
        QTest::newRow("a file with --analyse is refused")
            << QList<QStringList>{{"--analyse"}, {"a.csv"}, {"--csv"}} << "--analyse a.csv --csv";
        QTest::newRow("after -- every argument is a file")
            << QList<QStringList>{{"--compare"}, {"--csv"}, {"a.csv"}, {"--", "-x.csv", "--csv"}}
            << "--compare=a.csv --compare=-x.csv --compare=--csv --csv";
        QTest::newRow("a file after -- is not a window's option")
            << QList<QStringList>{{"--seed", "1"}, {"--tick", "60"}, {"--", "--zoom"}} << "--bogus";
        QTest::newRow("--compare without files is refused")
            << QList<QStringList>{{"--compare"}, {"--csv"}, {"--experiment", "1"}}
            << "--compare --csv";
    }

    void readsOptionsWhereverTheyStand() {
        QFETCH(QList<QStringList>, pieces);
        QFETCH(QString, reads);
        const QString expected = describe(reads.split(u' '));
        const auto isFile = [&pieces](int n) { return !pieces[n].first().startsWith(u'-'); };
        const auto endsOptions = [&pieces](int n) {
            return pieces[n].first() == QStringLiteral("--");
        };
        std::vector<int> order(pieces.size());
        std::iota(order.begin(), order.end(), 0);
        int orders = 0;
        do {
            std::vector<int> files;
            std::copy_if(order.begin(), order.end(), std::back_inserter(files), isFile);
            if (!std::is_sorted(files.begin(), files.end()) ||
                std::any_of(order.begin(), order.end() - 1, endsOptions)) {
                continue;
            }
            QStringList arguments;
            for (const int n : order) {
                arguments << pieces[n];
            }
            QCOMPARE(describe(arguments), expected);
            ++orders;
        } while (std::next_permutation(order.begin(), order.end()));
        QVERIFY(orders > 1);
    }
};

QTEST_GUILESS_MAIN(AnalyseCommandTest)
#include "tst_analyse_command.moc"
