#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// The program's exit status, run without a display whatever the platform asked for.
int exitStatus(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(TANABASHIGO_EXECUTABLE), arguments);
    return process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit
               ? process.exitCode()
               : -1;
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
};

QTEST_MAIN(TheoryCommandTest)
#include "tst_theory_command.moc"
