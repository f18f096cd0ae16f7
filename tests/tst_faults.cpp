#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "sound_cues.h"

using namespace tanabashigo;

namespace {

/// Bytes that no audio decoder takes for a wave file.
const QByteArray kGarbage = QByteArray("RIFF\xff\xff\xff\xffWAVEjunk", 16).repeated(64);

/// Makes `dir` the working directory for the lifetime of this object.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& dir) : previous_(QDir::currentPath()) {
        QDir::setCurrent(dir);
    }
    ~WorkingDirectory() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// The program's own executable, run in `dir` with the given environment and arguments.
struct Run {
    QProcess process;
    Run(const QString& dir, const QProcessEnvironment& environment, const QStringList& arguments) {
        process.setWorkingDirectory(dir);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TANABASHIGO_EXECUTABLE), arguments);
    }
};

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void aCueThatCannotPlayLeavesTheProgramRunning_data();
    void aCueThatCannotPlayLeavesTheProgramRunning();
    void theProgramWritesNothingInItsWorkingDirectory_data();
    void theProgramWritesNothingInItsWorkingDirectory();
    void withoutADisplayItSaysSoAndEnds_data();
    void withoutADisplayItSaysSoAndEnds();
};

void FaultsTest::aCueThatCannotPlayLeavesTheProgramRunning_data() {
    QTest::addColumn<QString>("cue");
    QTest::addColumn<bool>("garbageInWorkingDirectory");
    QTest::newRow("garbage wave file") << "pinpon.wav" << true;
    QTest::newRow("no such cue anywhere") << "nosuchcue.wav" << false;
    QTest::newRow("built-in copy, maybe no audio device") << "endpinpon.wav" << false;
}

void FaultsTest::aCueThatCannotPlayLeavesTheProgramRunning() {
    QFETCH(QString, cue);
    QFETCH(bool, garbageInWorkingDirectory);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (garbageInWorkingDirectory) {
        QVERIFY(writeFile(dir.filePath(cue), kGarbage));
    }
    WorkingDirectory cwd(dir.path());
    SoundEffectCues sounds;
    int turns = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, [&turns] { ++turns; });
    heartbeat.start(10);
    sounds.play(cue);
    QTRY_VERIFY(turns >= 5);
    sounds.play(cue);  // a cue again while the failed one is still loaded
    const int before = turns;
    QTRY_VERIFY(turns >= before + 5);
}

void FaultsTest::theProgramWritesNothingInItsWorkingDirectory_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("staysOpen");  // a window waits at the prompt until it is ended
    QTest::newRow("version") << QStringList{"--version"} << false;
    QTest::newRow("analysis") << QStringList{"--analyse", "--rungs", "10"} << false;
    QTest::newRow("window at the prompt") << QStringList{"--seed", "1"} << true;
}

void FaultsTest::theProgramWritesNothingInItsWorkingDirectory() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, staysOpen);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    Run run(dir.path(), environment, arguments);
    QVERIFY(run.process.waitForStarted());
    if (staysOpen) {
        QVERIFY(!run.process.waitForFinished(2000));
        run.process.kill();
        QVERIFY(run.process.waitForFinished());
    } else {
        QVERIFY(run.process.waitForFinished(60'000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 0);
        QVERIFY(!run.process.readAllStandardOutput().isEmpty());
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{});
}

void FaultsTest::withoutADisplayItSaysSoAndEnds_data() {
    QTest::addColumn<QString>("display");   // empty: not set
    QTest::addColumn<QString>("platform");  // empty: not set
    QTest::newRow("nothing set") << QString() << QString();
    QTest::newRow("a display nobody serves") << ":79" << QString();
    QTest::newRow("X11 asked for, no display") << QString() << "xcb";
}

void FaultsTest::withoutADisplayItSaysSoAndEnds() {
    QFETCH(QString, display);
    QFETCH(QString, platform);
    QVERIFY2(!QFile::exists(QStringLiteral("/tmp/.X11-unix/X79")), "display :79 is served here");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    if (!display.isEmpty()) {
        environment.insert(QStringLiteral("DISPLAY"), display);
    }
    if (!platform.isEmpty()) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    }
    Run run(dir.path(), environment, {});
    QVERIFY(run.process.waitForFinished(60'000));
    QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process.exitCode(), 2);
    QVERIFY(run.process.readAllStandardError().contains("no display"));
    QVERIFY(run.process.readAllStandardOutput().isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{});
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
