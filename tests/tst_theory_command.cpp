#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TheoryCommandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {  // the runs below have no display, whatever the platform asks for
        qunsetenv("DISPLAY");
        qputenv("QT_QPA_PLATFORM", "xcb");
    }

    void headlessRuns_data() {
        QTest::addColumn<QString>("arguments");  ///< split by spaces
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed");  ///< parts split by |
        QTest::addColumn<int>("height");  ///< of the chart 1200 wide the last argument names, or 0
        QTest::newRow("law, PNG") << "--analyse --rungs 30 --chart {dir}/law.png" << 0 << "" << 720;
        QTest::newRow("law and a simulation, SVG")
            << "--analyse --trials 2000 --seed 1 --chart {dir}/law.SVG" << 0 << "" << 720;
        QTest::newRow("fairness, SVG")
            << "--analyse --rungs 0:225:5 --chart {dir}/fair.svg" << 0 << "" << 600;
        QTest::newRow("no such folder")
            << "--analyse --rungs 30 --chart {dir}/missing/law.png" << 1 << "" << 0;
        QTest::newRow("not PNG nor SVG")
            << "--analyse --rungs 30 --chart {dir}/law.txt" << 2 << "" << 0;
        QTest::newRow("--chart alone") << "--chart {dir}/law.png" << 2 << "" << 0;
        QTest::newRow("each rung count")
            << "--compare {record}" << 0
            << "（実験 3）：横線 10 本|（2 回分）：横線 30 本、3 本目から、3 回|少なすぎて" << 0;
        QTest::newRow("one experiment, charted")
            << "--compare {record} --experiment 2 --chart {dir}/c.svg" << 0
            << "クラスの記録（実験 2）：横線 30 本、3 本目から、1 回" << 720;
        QTest::newRow("no such experiment")
            << "--compare {record} --experiment 9" << 2 << "no such experiment" << 0;
        QTest::newRow("two rung counts charted")
            << "--compare {record} --chart {dir}/c.png" << 2 << "--experiment" << 0;
        QTest::newRow("not a record") << "--compare {source}" << 2 << "1 行目|line 1" << 0;
        QTest::newRow("missing record") << "--compare {dir}/none.csv" << 2 << "none.csv" << 0;
    }
    void headlessRuns() {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, printed);
        QFETCH(int, height);
        const QTemporaryDir folder;
        const QStringList argv = arguments.replace("{dir}", folder.path())
                                     .replace("{record}", QFINDTESTDATA("data/class_record.csv"))
                                     .replace("{source}", QFINDTESTDATA("tst_charts.cpp"))
                                     .split(' ');
        QProcess process;
        process.start(QStringLiteral(TANABASHIGO_EXECUTABLE), argv);
        QVERIFY(process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit);
        const QString output =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        QCOMPARE(process.exitCode(), status);
        for (const QString& text : printed.split('|', Qt::SkipEmptyParts)) {
            QVERIFY2(output.contains(text), qPrintable(output));
        }
        const QFileInfo chart(argv.last());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 height > 0 ? QStringList{chart.fileName()} : QStringList{});
        if (height > 0) {
            // An SVG's size is in millimetres: its proportions are what must hold.
            const QSize read =
                QImage(chart.filePath(), chart.suffix() == "png" ? "PNG" : "SVG").size();
            QVERIFY(read.width() >= 1200 * 0.9);
            QCOMPARE(std::lround(1000.0 * read.height() / read.width()),
                     std::lround(1000.0 * height / 1200));
        }
    }
};

QTEST_MAIN(TheoryCommandTest)
#include "tst_theory_command.moc"
