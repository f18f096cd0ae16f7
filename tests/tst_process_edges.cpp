#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

/// The program, started with `arguments` on `platform`, with the descriptors in `closed`
/// closed before it runs.
void start(QProcess& process, const QStringList& arguments, const QList<int>& closed = {},
           const QString& platform = QStringLiteral("offscreen"), const QString& display = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([closed] {
        for (const int fd : closed) {
            close(fd);
        }
    });
    process.start(QStringLiteral(TANABASHIGO_EXECUTABLE), arguments);
}

/// Everything the terminal `master` shows within `milliseconds`, or once `until` appears.
QByteArray readTerminal(int master, int milliseconds, const QByteArray& until = {}) {
    QByteArray shown;
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired() && (until.isEmpty() || !shown.contains(until))) {
        char buffer[256];
        const ssize_t count = read(master, buffer, sizeof buffer);
        if (count > 0) {
            shown.append(buffer, count);
        } else {
            QTest::qWait(20);
        }
    }
    return shown;
}

}  // namespace

class ProcessEdgesTest : public QObject {
    Q_OBJECT
private slots:
    void outputThatCannotBeWrittenEndsWithStatusOne_data();
    void outputThatCannotBeWrittenEndsWithStatusOne();
    void closedStandardDescriptorsAreHeldOnDevNull_data();
    void closedStandardDescriptorsAreHeldOnDevNull();
    void aWindowSystemOtherThanX11OrWaylandIsNamed_data();
    void aWindowSystemOtherThanX11OrWaylandIsNamed();
    void anInterruptEndsTheProgressLine_data();
    void anInterruptEndsTheProgressLine();
    void aWindowDestroyedByAnotherClientEndsTheProgram_data();
    void aWindowDestroyedByAnotherClientEndsTheProgram();
};

void ProcessEdgesTest::outputThatCannotBeWrittenEndsWithStatusOne_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("closed");  // standard output closed rather than a full device
    for (const bool closed : {false, true}) {
        const char* where = closed ? "closed" : "full";
        QTest::addRow("help, %s", where) << QStringList{"--help"} << closed;
        QTest::addRow("version, %s", where) << QStringList{"--version"} << closed;
        QTest::addRow("analysis, %s", where) << QStringList{"--analyse", "--rungs", "5"} << closed;
    }
}

void ProcessEdgesTest::outputThatCannotBeWrittenEndsWithStatusOne() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, closed);
    QProcess process;
    if (!closed) {
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    }
    start(process, arguments, closed ? QList<int>{STDOUT_FILENO} : QList<int>{});
    QVERIFY(process.waitForFinished(30'000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("could not write"));
}

void ProcessEdgesTest::closedStandardDescriptorsAreHeldOnDevNull_data() {
    QTest::addColumn<QList<int>>("closed");
    QTest::newRow("input") << QList<int>{STDIN_FILENO};
    QTest::newRow("output") << QList<int>{STDOUT_FILENO};
    QTest::newRow("error") << QList<int>{STDERR_FILENO};
    QTest::newRow("all three") << QList<int>{STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO};
}

void ProcessEdgesTest::closedStandardDescriptorsAreHeldOnDevNull() {
    QFETCH(QList<int>, closed);
    QProcess process;
    start(process, {QStringLiteral("--seed"), QStringLiteral("1")}, closed);
    QVERIFY(process.waitForStarted());
    QVERIFY2(!process.waitForFinished(1500), "the window should wait at the prompt");
    for (const int fd : closed) {
        const QString link = QStringLiteral("/proc/%1/fd/%2").arg(process.processId()).arg(fd);
        QCOMPARE(QFile::symLinkTarget(link), QStringLiteral("/dev/null"));
    }
    process.kill();
    QVERIFY(process.waitForFinished());
}

void ProcessEdgesTest::aWindowSystemOtherThanX11OrWaylandIsNamed_data() {
    QTest::addColumn<QString>("environment");  // QT_QPA_PLATFORM
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("by the environment") << "bogus" << QStringList();
    QTest::newRow("by -platform") << "offscreen" << QStringList{"-platform", "bogus"};
    QTest::newRow("by --platform") << "xcb" << QStringList{"--platform", "bogus:option"};
}

void ProcessEdgesTest::aWindowSystemOtherThanX11OrWaylandIsNamed() {
    QFETCH(QString, environment);
    QFETCH(QStringList, arguments);
    QProcess process;
    start(process, arguments, {}, environment);
    QVERIFY(process.waitForFinished(30'000));
    QCOMPARE(process.exitCode(), 2);
    const QByteArray message = process.readAllStandardError();
    QVERIFY2(message.contains("'bogus") && !message.contains("DISPLAY"), message.constData());
}

void ProcessEdgesTest::anInterruptEndsTheProgressLine_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << int(SIGINT);
    QTest::newRow("terminate") << int(SIGTERM);
}

void ProcessEdgesTest::anInterruptEndsTheProgressLine() {
    QFETCH(int, signal);
    int master = -1;
    int terminal = -1;
    QVERIFY(openpty(&master, &terminal, nullptr, nullptr, nullptr) == 0);
    fcntl(master, F_SETFL, O_NONBLOCK);
    QProcess process;
    process.setStandardErrorFile(QString::fromLocal8Bit(ptsname(master)));
    start(process, {"--analyse", "--rungs", "50", "--trials", "1000000000000", "--threads", "1"});
    const QByteArray progress = readTerminal(master, 30'000, "running");
    QVERIFY2(progress.contains("running"), progress.constData());
    kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(10'000));
    const QByteArray shown = progress + readTerminal(master, 300);
    close(terminal);
    close(master);
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QVERIFY2(shown.endsWith('\n'), shown.right(60).constData());
}

void ProcessEdgesTest::aWindowDestroyedByAnotherClientEndsTheProgram_data() {
    QTest::addColumn<QString>("title");  // of the window destroyed, as a regular expression
    QTest::newRow("main window at the prompt") << "しご$";
    QTest::newRow("the prompt") << "設定$";
}

void ProcessEdgesTest::aWindowDestroyedByAnotherClientEndsTheProgram() {
    QFETCH(QString, title);
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfb.isEmpty() || xdotool.isEmpty()) {
        QSKIP("needs Xvfb and xdotool");
    }
    QProcess server;
    server.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
    QVERIFY(server.waitForReadyRead(10'000));
    const QString display = QLatin1Char(':') + QString::fromLatin1(server.readLine().trimmed());
    QProcess program;
    start(program, {QStringLiteral("--seed"), QStringLiteral("1")}, {}, QStringLiteral("xcb"),
          display);
    QProcess destroyer;
    destroyer.setProcessEnvironment(program.processEnvironment());
    destroyer.start(xdotool,
                    {"search", "--sync", "--all", "--pid", QString::number(program.processId()),
                     "--name", title, "windowclose"});
    QVERIFY(destroyer.waitForFinished(10'000));
    const bool ended = program.waitForFinished(10'000);
    program.kill();
    server.kill();
    server.waitForFinished();
    QVERIFY2(ended, "the program went on without its window");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(ProcessEdgesTest)
#include "tst_process_edges.moc"
