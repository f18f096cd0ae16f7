#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// The program's exit status, run without a display whatever the platform asked for; what
/// it printed goes to `output`.
int exitStatus(const QStringList& arguments, QByteArray* output = nullptr) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TANABASHIGO_EXECUTABLE), arguments);
    const bool ended =
        process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit;
    if (output != nullptr) {
        *output = process.readAllStandardOutput() + process.readAllStandardError();
    }
    return ended ? process.exitCode() : -1;
}

}  // namespace

class TheoryCommandTest : public QObject {
    Q_OBJECT
private slots:
    void chartFiles_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QSize>("size");
        const QStringList law{"--analyse", "--rungs", "30", "--chart"};
        QTest::newRow("law chart, PNG") << law << "law.png" << 0 << QSize(1200, 720);
        QTest::newRow("law chart with a simulation, upper-case SVG")
            << QStringList{"--analyse", "--trials", "2000", "--seed", "1", "--chart"} << "law.SVG"
            << 0 << QSize(1200, 720);
        QTest::newRow("fairness chart, SVG")
            << QStringList{"--analyse", "--rungs", "0:225:5", "--chart"} << "fair.svg" << 0
            << QSize(1200, 600);
        QTest::newRow("a folder that does not exist") << law << "missing/law.png" << 1 << QSize();
        QTest::newRow("neither PNG nor SVG") << law << "law.txt" << 2 << QSize();
        QTest::newRow("without --analyse") << QStringList{"--chart"} << "law.png" << 2 << QSize();
    }
    void chartFiles() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(int, status);
        QFETCH(QSize, size);
        const QTemporaryDir folder;
        const QString path = folder.filePath(file);
        QCOMPARE(exitStatus(arguments << path), status);
        QCOMPARE(QFile::exists(path), status == 0);
        if (status == 0) {
            // An SVG's size is in millimetres: its proportions are what must hold.
            const QSize read = QImage(path, file.endsWith("png") ? "PNG" : "SVG").size();
            QVERIFY(read.width() >= size.width() * 0.9);
            QCOMPARE(std::lround(1000.0 * read.height() / read.width()),
                     std::lround(1000.0 * size.height() / size.width()));
        }
    }

    void compareRecords_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("printed");
        const QString record = QFINDTESTDATA("data/class_record.csv");
        QTest::newRow("every rung count on its own")
            << QStringList{"--compare", record} << 0
            << QStringList{"（実験 3）：横線 10 本、3 本目から、1 回",
                           "（2 回分）：横線 30 本、3 本目から、3 回", "少なすぎて"};
        QTest::newRow("one experiment, with its chart")
            << QStringList{"--compare", record, "--experiment", "2", "--chart", "{dir}/c.svg"} << 0
            << QStringList{"クラスの記録（実験 2）：横線 30 本、3 本目から、1 回"};
        QTest::newRow("no such experiment") << QStringList{"--compare", record, "--experiment", "9"}
                                            << 2 << QStringList{"no such experiment"};
        QTest::newRow("a chart of two rung counts")
            << QStringList{"--compare", record, "--chart", "{dir}/c.png"} << 2
            << QStringList{"--experiment"};
        QTest::newRow("not a record") << QStringList{"--compare", QFINDTESTDATA("tst_charts.cpp")}
                                      << 2 << QStringList{"1 行目", "line 1"};
        QTest::newRow("missing") << QStringList{"--compare", "{dir}/none.csv"} << 2
                                 << QStringList{"none.csv"};
    }
    void compareRecords() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QStringList, printed);
        const QTemporaryDir folder;
        arguments.replaceInStrings(QStringLiteral("{dir}"), folder.path());
        QByteArray output;
        QCOMPARE(exitStatus(arguments, &output), status);
        for (const QString& text : printed) {
            QVERIFY2(QString::fromUtf8(output).contains(text), output.constData());
        }
        QCOMPARE(QFile::exists(folder.filePath("c.svg")),
                 arguments.contains("--experiment") && status == 0);
    }
};

QTEST_MAIN(TheoryCommandTest)
#include "tst_theory_command.moc"
