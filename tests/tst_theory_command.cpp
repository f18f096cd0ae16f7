#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// What poppler reads in the PDF at `path`: its pages, its fonts, each with whether it is
/// embedded, and its text laid out, runs of spaces made one.
QString pdfReading(const QString& path) {
    QString reading;
    for (const QStringList& run : {QStringList{"pdfinfo", path}, QStringList{"pdffonts", path},
                                   QStringList{"pdftotext", "-layout", path, "-"}}) {
        QProcess process;
        process.start(run.first(), run.mid(1));
        if (!process.waitForFinished(30'000) || process.exitCode() != 0) {
            return QStringLiteral("%1 failed: install poppler-utils").arg(run.first());
        }
        reading += QString::fromUtf8(process.readAllStandardOutput());
    }
    return reading.replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
}

}  // namespace

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
        /// Of the chart 1200 wide the last argument names, or of a PDF's page in points; 0: none.
        QTest::addColumn<int>("height");
        // A refusal names what it refuses and where help is found.
        QTest::newRow("rungs not a number") << "--analyse --rungs abc" << 2 << "abc|--help" << 0;
        QTest::newRow("range backwards") << "--analyse --rungs 50:10" << 2 << "50:10|--help" << 0;
        QTest::newRow("trials 0") << "--analyse --trials 0" << 2 << "trials|--help" << 0;
        QTest::newRow("seed too big") << "--seed 4294967296" << 2 << "4294967296|--help" << 0;
        QTest::newRow("lesson rungs") << "--lesson --rungs 226" << 2 << "226|--help" << 0;
        QTest::newRow("lesson zoom") << "--lesson --zoom 2" << 2 << "zoom|--help" << 0;
        QTest::newRow("lesson theory") << "--lesson --theory" << 2 << "--lesson|--help" << 0;
        QTest::newRow("law, PNG") << "--analyse --rungs 30 --chart {dir}/law.png" << 0 << "" << 720;
        QTest::newRow("law and a simulation, SVG")
            << "--analyse --trials 2000 --seed 1 --chart {dir}/law.SVG" << 0 << "" << 720;
        QTest::newRow("fairness, SVG")
            << "--analyse --rungs 0:225:5 --chart {dir}/fair.svg" << 0 << "" << 600;
        QTest::newRow("every start line, PNG")
            << "--analyse --rungs 150 --all-lines --chart {dir}/all.png" << 0
            << "横線 150 本|どの線からスタートしても" << 900;
        QTest::newRow("every start line, no such folder")
            << "--analyse --rungs 10 --all-lines --chart {dir}/missing/all.svg" << 1 << "" << 0;
        QTest::newRow("every start line needs one count")
            << "--analyse --rungs 10:20 --all-lines --chart {dir}/all.svg" << 2 << "--all-lines"
            << 0;
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
        QTest::newRow("a class's files pooled")
            << "--compare {record} {pupil}" << 0
            << "クラス全体（3 回分）：横線 30 本、3 本目から、5 回|class_record.csv    2     0     "
               "1"
               "     1     1     0|pupil_record.csv    1     0     0     0     0     2"
            << 0;
        // A worksheet's text holds the counts --compare prints, in the embedded font.
        QTest::newRow("a blank worksheet")
            << "--analyse --rungs 30 --start 9 --worksheet {dir}/w.pdf" << 0
            << "予想|考察|横線 30 本・9 本目からスタート|着いた列 1 2 3 4 5 6 7 8 9 10 合計" << 842;
        QTest::newRow("a class's worksheet, each experiment once")
            << "--compare {pupil} {pupil} --worksheet {dir}/w.pdf" << 0
            << "一度だけ|クラス全体（1 回分）：着地 2 回|着いた回数 0 0 0 0 2 0 0 0 0 0 2|"
               "相対度数 0 0 0 0 1 0 0 0 0 0 1"
            << 842;
        QTest::newRow("one experiment's worksheet")
            << "--compare {record} --experiment 2 --worksheet {dir}/w.PDF" << 0
            << "（実験 2）：着地 1 回|着いた回数 0 1 0|理論の確率 0.187 0.182 0.172" << 842;
        QTest::newRow("a worksheet of two ladders")
            << "--compare {record} {pupil} --worksheet {dir}/w.pdf" << 2
            << "2 通り|横線 10 本・3 本目から" << 0;
        QTest::newRow("a worksheet in no such folder")
            << "--compare {pupil} --worksheet {dir}/missing/w.pdf" << 1 << "ワークシート" << 0;
        QTest::newRow("a worksheet is a PDF")
            << "--analyse --worksheet {dir}/w.svg" << 2 << "--worksheet|.pdf" << 0;
        QTest::newRow("a worksheet of one rung count")
            << "--analyse --rungs 10:20 --worksheet {dir}/w.pdf" << 2 << "--worksheet" << 0;
        QTest::newRow("a damaged file among them")
            << "--compare {pupil} {source}" << 2
            << "tst_charts.cpp」（1 行目）|クラス全体（1 回分）：横線 30 本、3 本目から、2 回" << 0;
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
                                     .replace("{pupil}", QFINDTESTDATA("data/pupil_record.csv"))
                                     .split(' ');
        QProcess process;
        process.start(QStringLiteral(TANABASHIGO_EXECUTABLE), argv);
        QVERIFY(process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit);
        QString output =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        QCOMPARE(process.exitCode(), status);
        const QFileInfo chart(argv.last());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 height > 0 ? QStringList{chart.fileName()} : QStringList{});
        const bool pdf = chart.suffix().toLower() == "pdf";
        if (height > 0 && pdf) {
            // One A4 page, and every font in it embedded.
            const QString reading = pdfReading(chart.filePath());
            static const QRegularExpression embedded("\nIPAPGothic CID TrueType \\S+ yes ");
            static const QRegularExpression notEmbedded(" no (yes|no) (yes|no) \\d+ \\d+\n");
            QVERIFY2(reading.contains("Pages: 1\n") &&
                         reading.contains(QStringLiteral(" x %1 pts (A4)").arg(height)) &&
                         reading.contains(embedded) && !reading.contains(notEmbedded),
                     qPrintable(reading));
            output += reading;
        }
        for (const QString& text : printed.split('|', Qt::SkipEmptyParts)) {
            QVERIFY2(output.contains(text), qPrintable(output));
        }
        if (height > 0 && !pdf) {
            // An SVG's size is in millimetres: its proportions are what must hold.
            const QSize read =
                QImage(chart.filePath(), chart.suffix() == "png" ? "PNG" : "SVG").size();
            QVERIFY(read.width() >= 1200 * 0.9);
            QCOMPARE(std::lround(1000.0 * read.height() / read.width()),
                     std::lround(1000.0 * height / 1200));
        }
    }

    // Charts and worksheets are written to the very bytes named, whole or not at all, and never
    // over anything but a regular file.
    void savesOnlyWholeFilesUnderTheNameGiven_data() {
        QTest::addColumn<QByteArray>("name");    ///< of the chart in a fresh folder
        QTest::addColumn<QByteArray>("before");  ///< what stands there first: fifo, folder, link
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("type");  ///< of what stands there after
        QTest::newRow("a Shift_JIS name")
            << QByteArray("\x8e\xc0\x8c\xb1.svg") << QByteArray() << 0 << int(S_IFREG);
        QTest::newRow("a FIFO") << QByteArray("c.svg") << QByteArray("fifo") << 1 << int(S_IFIFO);
        QTest::newRow("a link to a FIFO")
            << QByteArray("c.png") << QByteArray("link") << 1 << int(S_IFLNK);
        QTest::newRow("a folder") << QByteArray("c.svg") << QByteArray("folder") << 1
                                  << int(S_IFDIR);
        QTest::newRow("a worksheet over a link to a FIFO")
            << QByteArray("w.pdf") << QByteArray("link") << 1 << int(S_IFLNK);
    }
    void savesOnlyWholeFilesUnderTheNameGiven() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, before);
        QFETCH(int, status);
        QFETCH(int, type);
        const QTemporaryDir folder;
        const QByteArray path = QFile::encodeName(folder.path()) + '/' + name;
        const QByteArray fifo = QFile::encodeName(folder.path()) + "/fifo";
        if (before == "fifo" || before == "link") {
            QCOMPARE(mkfifo((before == "link" ? fifo : path).constData(), 0600), 0);
        }
        if (before == "link") {
            QCOMPARE(symlink(fifo.constData(), path.constData()), 0);
        }
        if (before == "folder") {
            QCOMPARE(mkdir(path.constData(), 0700), 0);
        }
        // The name goes through the shell as bytes: the test's own arguments would be text.
        QProcess process;
        process.start("sh", {"-c",
                             "exec \"$0\" --analyse \"--$2\" \"$(printf '%s' \"$1\" | "
                             "base64 -d)\" >/dev/null",
                             TANABASHIGO_EXECUTABLE, QString::fromLatin1(path.toBase64()),
                             name.endsWith(".pdf") ? "worksheet" : "chart"});
        QVERIFY(process.waitForFinished(60'000));
        QCOMPARE(process.exitCode(), status);
        struct stat after {};
        QCOMPARE(lstat(path.constData(), &after), 0);
        QCOMPARE(int(after.st_mode & S_IFMT), type);
        int entries = 0;  // by bytes: the folder's listing would pass over the Shift_JIS name
        DIR* listing = opendir(QFile::encodeName(folder.path()).constData());
        for (dirent* entry; (entry = readdir(listing)) != nullptr;) {
            entries +=
                std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0;
        }
        closedir(listing);
        QCOMPARE(entries, before == "link" ? 2 : 1);  // no temporary file left behind
        unlink(path.constData());
    }
};

QTEST_MAIN(TheoryCommandTest)
#include "tst_theory_command.moc"
