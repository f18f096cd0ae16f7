#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

/// Starts the program on `platform` and `display`, with the descriptors `closed` closed.
static void start(QProcess& program, const QStringList& arguments, const QString& platform,
                  const QList<int>& closed = {}, const QString& display = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));  // so Qt warns on standard error
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));  // titles as UTF-8
    program.setProcessEnvironment(environment);
    program.setChildProcessModifier([closed] {
        for (const int fd : closed) {
            close(fd);
        }
    });
    program.start(QStringLiteral(TANABASHIGO_EXECUTABLE), arguments);
}

class ProcessEdgesTest : public QObject {
    Q_OBJECT
private slots:
    void endsWithStatusAndSaysWhy_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QList<int>>("closed");  // else standard output is on a full device
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("message");
        for (const char* option : {"--help", "--version"}) {
            for (const QList<int>& closed : {QList<int>{}, QList<int>{STDOUT_FILENO}}) {
                QTest::addRow("%s, output %s", option, closed.isEmpty() ? "full" : "closed")
                    << QStringList{option} << "offscreen" << closed << 1
                    << QByteArray("could not write");
            }
        }
        QTest::newRow("--compare, output full")
            << QStringList{"--compare", QFINDTESTDATA("data/class_record.csv")} << "offscreen"
            << QList<int>{} << 1 << QByteArray("could not write");
        QTest::newRow("--analyse --csv, output full")
            << QStringList{"--analyse", "--csv"} << "offscreen" << QList<int>{} << 1
            << QByteArray("could not write");
        QTest::newRow("QT_QPA_PLATFORM=bogus")
            << QStringList() << "bogus" << QList<int>{STDOUT_FILENO} << 2 << QByteArray("'bogus'");
        QTest::newRow("-platform bogus") << QStringList{"-platform", "bogus"} << "xcb"
                                         << QList<int>{STDOUT_FILENO} << 2 << QByteArray("'bogus'");
    }
    void endsWithStatusAndSaysWhy() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(QList<int>, closed);
        QFETCH(int, status);
        QFETCH(QByteArray, message);
        QProcess program;
        program.setStandardOutputFile(QStringLiteral("/dev/full"));
        start(program, arguments, platform, closed);
        QVERIFY(program.waitForFinished(30'000));
        QCOMPARE(program.exitCode(), status);
        QVERIFY(program.readAllStandardError().contains(message));
    }

    // With stderr in a file nobody is reading, a refusal is also shown in a message box,
    // but only on a screen someone can see: elsewhere it must end at once.
    void aRefusalOffScreenEndsAtOnce_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        const QString source = QFINDTESTDATA("tst_process_edges.cpp");
        QTest::newRow("record onto a full device")
            << QStringList{"--record", "/dev/full"} << QByteArray("/dev/full");
        QTest::newRow("record onto a file that is not a record")
            << QStringList{"--record", source} << QByteArray("tst_process_edges.cpp");
        QTest::newRow("lesson recording onto a device")
            << QStringList{"--lesson", "--record", "/dev/full"} << QByteArray("/dev/full");
        QTest::newRow("an unknown option") << QStringList{"--bogus"} << QByteArray("--bogus");
    }
    void aRefusalOffScreenEndsAtOnce() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        for (const QString platform : {"offscreen", "minimal"}) {
            QTemporaryDir folder;
            const QString said = folder.filePath(QStringLiteral("stderr.txt"));
            QProcess program;
            program.setStandardErrorFile(said);
            start(program, arguments, platform);
            QVERIFY2(program.waitForFinished(10'000), qPrintable(platform));
            QCOMPARE(program.exitCode(), 2);
            QFile file(said);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(file.readAll().contains(message), qPrintable(platform));
        }
    }

    void anInterruptEndsTheProgressLine() {
        int screen = -1, terminal = -1;
        QVERIFY(openpty(&screen, &terminal, nullptr, nullptr, nullptr) == 0);
        fcntl(screen, F_SETFL, O_NONBLOCK);
        QProcess program;
        program.setStandardErrorFile(QString::fromLocal8Bit(ptsname(screen)));
        start(program, {"--analyse", "--trials", "1000000000000", "--threads", "1"}, "offscreen");
        QByteArray shown;
        const auto screenText = [&shown, screen] {
            char buffer[256];
            shown.append(buffer, std::max<qsizetype>(read(screen, buffer, sizeof buffer), 0));
            return shown;
        };
        QTRY_VERIFY_WITH_TIMEOUT(screenText().contains("running"), 15'000);
        QVERIFY(kill(pid_t(program.processId()), SIGINT) == 0);
        QTRY_VERIFY2_WITH_TIMEOUT(screenText().endsWith('\n'), shown.right(60).constData(), 15'000);
        close(terminal);
        close(screen);
    }  // the program, if still running, is killed as it goes out of scope

    void aWindowDestroyedByAnotherClientEndsTheProgram_data() {
        QTest::addColumn<QString>("title");  // of the window destroyed, as a regular expression
        QTest::addColumn<QList<int>>("closed");
        QTest::addColumn<QString>("mode");  // an option before --seed 1
        QTest::newRow("main window, error output closed") << "しご$" << QList<int>{2} << "--zoom=1";
        QTest::newRow("the prompt, all three closed")
            << "設定$" << QList<int>{0, 1, 2} << "--zoom=1";
        QTest::newRow("theory window") << "理論と実験$" << QList<int>{} << "--theory";
    }
    void aWindowDestroyedByAnotherClientEndsTheProgram() {
        QFETCH(QString, title);
        QFETCH(QList<int>, closed);
        QFETCH(QString, mode);
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        QProcess server;
        server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
        if (xdotool.isEmpty() || !server.waitForReadyRead(10'000)) {
            QSKIP("needs Xvfb and xdotool");
        }
        QProcess program;
        start(program, {mode, "--seed", "1"}, "xcb", closed, ':' + server.readLine().trimmed());
        QProcess destroyer;  // waits for the window to appear, then destroys it
        destroyer.setProcessEnvironment(program.processEnvironment());
        destroyer.start(xdotool,
                        {"search", "--sync", "--all", "--pid", QString::number(program.processId()),
                         "--name", title, "windowclose"});
        const bool ended = destroyer.waitForFinished(10'000) && program.waitForFinished(10'000) &&
                           program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
        server.kill();  // the others, if still running, are killed as they go out of scope
        server.waitForFinished();
        QVERIFY2(ended, "the window never appeared, or the program went on without it");
    }
};

QTEST_GUILESS_MAIN(ProcessEdgesTest)
#include "tst_process_edges.moc"
