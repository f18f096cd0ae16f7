#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#include "form1_fixture.h"
#include "record_file.h"
#include "record_writer.h"

using namespace tanabashigo;

namespace {

/// The system's calls, but the next write or sync fails as `failNext` says.
struct FailingCalls : FileCalls {
    QString failNext;  ///< "write ENOSPC", "write EIO", "write short", "fsync EIO" or empty
    bool truncateFails = false;
    bool folderReadOnly = false;
    int access(const char* path, int mode) override {
        errno = EACCES;
        return folderReadOnly ? -1 : FileCalls::access(path, mode);
    }
    ssize_t write(int descriptor, const void* data, std::size_t size) override {
        if (!failNext.startsWith("write")) {
            return FileCalls::write(descriptor, data, size);
        }
        const QString how = std::exchange(failNext, {});
        errno = how.endsWith("ENOSPC") ? ENOSPC : EIO;
        return how.endsWith("short") ? FileCalls::write(descriptor, data, size / 2) : -1;
    }
    int fsync(int descriptor) override {
        errno = EIO;
        return std::exchange(failNext, {}) == "fsync EIO" ? -1 : FileCalls::fsync(descriptor);
    }
    int ftruncate(int descriptor, off_t size) override {
        errno = EIO;
        return truncateFails ? -1 : FileCalls::ftruncate(descriptor, size);
    }
};

const auto fixedTime = [] { return std::string("2026-12-07T09:15:02+09:00"); };

/// A file's text from its short form: {H} the header, "~" a time, "|" a line end.
QByteArray recordText(QString notation) {
    notation.replace("{H}", QString::fromUtf8(recordHeader()));
    return notation.replace('~', QString::fromStdString(fixedTime())).replace('|', '\n').toUtf8();
}

/// Each line of the file: H the header, experiment.trial a record line, x anything else.
QString linesOf(const QString& path) {
    QFile file(path);
    QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    text.chop(text.endsWith('\n') ? 1 : 0);
    QStringList lines;
    for (QByteArray line : text.split('\n')) {
        line = line.startsWith("\xEF\xBB\xBF") ? line.mid(3) : line;
        line.chop(line.endsWith('\r') ? 1 : 0);
        const auto read = parseRecordLine(line.toStdString());
        lines << (line == recordHeader().data() ? QString("H")
                  : read ? QString("%1.%2").arg(read->experiment).arg(read->trial)
                         : QString("x"));
    }
    return lines.join(' ');
}

/// Records a landing in `column` from the line above it (an experiment's start line changes
/// from trial to trial), and once more after a fault; what went wrong, or nothing.
QString land(RecordWriter& writer, int column) {
    QString faults;
    std::optional<RecordFault> fault;
    for (int n = 0; n < 2 && (fault = writer.recordLanding({30, column, column, 1, false})); ++n) {
        faults += QString::fromStdString(fault->english) + " / ";
    }
    return faults;
}

/// Records a landing in `column` while another process holds a shared lock on the file at
/// `path`, as a reader or another writer waiting its turn would; what went wrong.
QString landWhileLockedElsewhere(RecordWriter& writer, const QString& path, int column) {
    const QByteArray name = path.toLocal8Bit();
    int ready[2];
    if (pipe(ready) != 0) {
        return "no pipe";
    }
    const pid_t holder = fork();
    if (holder == 0) {
        const int file = ::open(name.constData(), O_RDONLY);
        const char held = file >= 0 && ::flock(file, LOCK_SH) == 0 ? 'y' : 'n';
        if (::write(ready[1], &held, 1) == 1) {
            ::pause();
        }
        _exit(0);
    }
    char held = 'n';
    const bool told = holder > 0 && ::read(ready[0], &held, 1) == 1;
    const QString faults = told && held == 'y' ? land(writer, column) : "the lock was not taken";
    if (holder > 0) {
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
    }
    ::close(ready[0]);
    ::close(ready[1]);
    return faults;
}

void row(const char* name, const QString& before, const QString& event, const QString& after) {
    QTest::newRow(name) << before << event << after;
}

}  // namespace

class RecordWriterTest : public QObject {
    Q_OBJECT
public:
    // A writer that hangs fails its test instead of holding up the run.
    RecordWriterTest() { qputenv("QTEST_FUNCTION_TIMEOUT", "30000"); }

private slots:
    void landingsAreKeptWholeOrRefused_data() {
        QTest::addColumn<QString>("before");  ///< the file's text, "<folder>", "<fifo>" or a path
        QTest::addColumn<QString>("event");   ///< a failure or a change before the second landing
        QTest::addColumn<QString>("after");   ///< faults, then the file's lines
        const QString record = "{H}|~,4,1,30,3,4,1,landing|", ok = "H 1.1 1.2 1.3";
        row("disk full", "", "write ENOSPC", "the disk is full / " + ok);
        row("drive error", "", "write EIO", "an input/output error / " + ok);
        row("sync fails", "", "fsync EIO", "an input/output error / " + ok);
        row("short write", "", "write short", "the disk is full / " + ok);
        row("short write stays", "", "write short, truncate fails",
            "the disk is full / H 1.1 x 1.2 1.3");
        row("new", "<none>", "", ok);
        row("torn", record + "~,4,2,3", "", "H 4.1 x 5.1 5.2 5.3");
        const QString notRegular = "not a regular file (a folder, a FIFO or a device)";
        row("spreadsheet", "name,score|Taro,3|", "",
            "line 1: not a landing record: the first line is not its header");
        row("folder", "<folder>", "", notRegular);
        row("FIFO", "<fifo>", "", notRegular);
        row("endless device", "/dev/zero", "", notRegular);
        row("numbers used up", "{H}|~,999999999,1,30,3,4,1,landing|", "",
            QString("the experiment numbers are used up: record into a new file / ").repeated(6) +
                "H 999999999.1");
        row("deleted", record, "rm", ok);
        row("replaced by a copy", record, "copy", "H 4.1 5.1 5.2 5.3");
        row("replaced by another", record, "{H}|~,8,1,30,3,4,1,landing|", "H 8.1 9.1 9.2 9.3");
        row("another window", record, "window", "H 4.1 5.1 6.1 5.2 5.3");
        row("locked by another process", record, "locked",
            QString("another program keeps the file locked / ").repeated(2) + "H 4.1 5.1 5.2 5.3");
        row("folder gone", record, "rmdir",
            QString("the file is gone, and so is its folder / ").repeated(4) + "x");
        row("saved again with CRLF", record, "crlf", "H 4.1 5.1 5.2 5.3");
        row("put back with a byte-order mark", record, "bom", "H 4.1 5.1 5.2 5.3");
        row("cut short in place", record, "truncate",
            QString("the record file was cut short or rewritten by another program: 0 of this "
                    "experiment's 1 lines are left as written; record into a new file / ")
                    .repeated(4) +
                "H");
        row("times reformatted", "{H}|2026/12/07 9:15,4,1,30,3,4,1,landing|", "",
            "line 2: not a record line");
        row("empty columns added", "{H}|~,4,1,30,3,4,1,landing,,|", "",
            "line 2: not a record line");
        row("rows sorted", "{H}|~,4,2,30,3,4,2,landing|~,4,1,30,3,4,1,landing|", "",
            "line 2: an experiment's first line is not trial 1");
        row("predicted", "", "predict", "H 1.0 1.0 1.1 1.2 1.3");
        row("predicted, then deleted", "", "predict rm", "H 1.0 1.0 1.1 1.2 1.3");
        row("holding predictions, one whose landing was cut short",
            "{H}|~,4,0,30,3,4,7,prediction|~,4,1,30,3,4,1,landing|~,5,0,30,3,2,1,prediction|~,5,1",
            "", "H 4.0 4.1 5.0 x 6.1 6.2 6.3");
        row("a prediction after its landing",
            "{H}|~,4,1,30,3,4,1,landing|~,4,0,30,3,4,7,prediction|", "",
            "line 3: a prediction line follows the experiment's first landing");
        row("symbolic link", "<symlink>", "", "it is a symbolic link: name the record file itself");
        row("no folder", "<no folder>", "", "the folder does not exist");
        row("read-only folder", "<read-only folder>", "", "the folder is read-only");
    }
    void landingsAreKeptWholeOrRefused() {
        QFETCH(QString, before);
        QFETCH(QString, event);
        QFETCH(QString, after);
        QTemporaryDir dir;
        const QString path = before.startsWith('/')    ? before
                             : before == "<no folder>" ? dir.filePath("gone/class.csv")
                                                       : dir.filePath("class.csv");
        const QString copy = dir.filePath("copy.csv");
        const auto write = [](const QString& name, const QString& text) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly) && file.write(recordText(text)) >= 0;
        };
        QVERIFY(before == "<none>" || before.startsWith('/') || before.endsWith(" folder>") ||
                (before == "<symlink>" && write(copy, "{H}|") && QFile::link(copy, path)) ||
                (before == "<folder>" && QDir(dir.path()).mkdir("class.csv")) ||
                (before == "<fifo>" && mkfifo(qPrintable(path), 0644) == 0) || write(path, before));
        FailingCalls calls;
        calls.folderReadOnly = before == "<read-only folder>";
        const bool existed = QFileInfo(path).exists() || QFileInfo(path).isSymLink();
        auto opened = RecordWriter::open(path.toStdString(), fixedTime, calls);
        if (const RecordFault* refused = std::get_if<RecordFault>(&opened)) {
            QCOMPARE(QString::fromStdString(refused->english), after);
            QCOMPARE(QFileInfo(path).exists() || QFileInfo(path).isSymLink(), existed);
            // A file the reader refuses is refused for its reason, at its line.
            const auto read = readRecordFile(path.toStdString());
            if (const auto* error = std::get_if<RecordError>(&read); error && error->line > 0) {
                QCOMPARE(refused->line, error->line);
                QVERIFY(after.endsWith(QString::fromStdString(error->english)));
            }
            return;
        }
        RecordWriter& writer = *std::get<0>(opened);
        if (event.startsWith("predict")) {
            ClassPrediction prediction;
            prediction.hands[3] = 7;
            prediction.hands[4] = 2;
            writer.predict(prediction);
            event = event.mid(8);
        }
        QString result = land(writer, 1);
        calls.failNext = event.section(',', 0, 0);
        calls.truncateFails = event.endsWith("truncate fails");
        if (event == "window") {
            result += land(*std::get<0>(RecordWriter::open(path.toStdString(), fixedTime)), 1);
        } else if (event == "locked") {
            result += landWhileLockedElsewhere(writer, path, 2);
        } else if (event == "rmdir") {
            QVERIFY(dir.remove());
        } else if (event == "copy" || event.startsWith('{')) {
            QVERIFY(event == "copy" ? QFile::copy(path, copy) : write(copy, event));
            QVERIFY(QFile::remove(path) && QFile::rename(copy, path));
        } else if (event == "crlf" || event == "truncate") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const QByteArray text = file.readAll().replace("\n", "\r\n");
            QVERIFY(file.resize(0) && file.seek(0));
            QVERIFY(file.write(event == "crlf" ? text : text.left(text.indexOf('\n') + 1)) > 0);
        } else if (event == "bom") {
            QVERIFY(QFile::copy(path, copy) && QFile::remove(path));
            QFile file(copy), back(path);
            QVERIFY(file.open(QIODevice::ReadOnly) && back.open(QIODevice::WriteOnly));
            QVERIFY(back.write("\xEF\xBB\xBF" + file.readAll()) > 0);
        } else if (event == "rm") {
            QVERIFY(QFile::remove(path));
        }
        result += land(writer, 2) + land(writer, 3);
        QCOMPARE(result + linesOf(path), after);
    }

    void aFullDiskStopsTheLandingsCleanly() {
        const QTemporaryDir dir;
        if (mount("tanabashigo-test", qPrintable(dir.path()), "tmpfs", 0, "size=64k") != 0) {
            QSKIP("a tmpfs can be mounted only as root");
        }
        const QString path = dir.filePath("class.csv");
        auto writer = std::get<0>(RecordWriter::open(path.toStdString(), fixedTime));
        const auto unmount = qScopeGuard([&] {
            writer.reset();
            umount(qPrintable(dir.path()));
        });
        QString faults;
        for (int landing = 0; landing < 2000 && faults.isEmpty(); ++landing) {
            if (landing % 10 == 0) {
                writer->startExperiment();
            }
            faults = land(*writer, landing % 10 + 1);
        }
        const QString lines = linesOf(path);
        QCOMPARE(faults, "the disk is full / the disk is full / ");
        QVERIFY2(!lines.contains('x') && lines.size() > 1000, qPrintable(lines.right(80)));
    }

    void noMarkerShowsWithoutItsLine() {
        const QTemporaryDir dir;
        const QString path = dir.filePath("class.csv");
        FailingCalls calls;
        auto writer = std::get<0>(RecordWriter::open(path.toStdString(), fixedTime, calls));
        RandomSource random(5);
        ScriptedDialogs dialogs;
        RecordedSounds sounds;
        Form1 form(random, dialogs, sounds, onTestClock(3, writer.get()));
        form.Form_Activate();
        const auto markersShown = [&form] {
            int shown = 0;
            for (int k = 1; k <= kLineCount; ++k) {
                shown += int(visibleMarkers(form, k).size());
            }
            return shown;
        };
        calls.failNext = "write ENOSPC";
        form.Command1_Click();
        buildLadder(form);
        tracePath(form);
        QCOMPARE(dialogs.warnings.size(), 1);
        for (const QString& said :
             {path, QString("ディスクがいっぱい"), QString("the disk is full")}) {
            QVERIFY(dialogs.warnings[0].contains(said));
        }
        QVERIFY(markersShown() == 0 && !form.model().nextDue() && form.Command1->isEnabled());
        form.Command1_Click();  // tries the line again
        QCOMPARE(markersShown(), 1);
        QCOMPARE(linesOf(path), "H 1.1");
        QVERIFY(form.model().isRunning(WindowTimer::Ladder) &&
                form.model().isRunning(WindowTimer::NextTrial));
    }
};

QTEST_MAIN(RecordWriterTest)
#include "tst_record_writer.moc"
