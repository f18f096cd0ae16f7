#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "sound_cues.h"

using namespace tanabashigo;

namespace {

constexpr char kPlayCues[] = "--play-cues";
constexpr qint64 kHugeFile = 5 << 20;

/// The built-in chime's bytes.
QByteArray chime() {
    QFile file(QStringLiteral(":/sounds/pinpon.wav"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// `bytes` with the little-endian 32-bit field at `offset` replaced by `value`.
QByteArray patched(QByteArray bytes, qsizetype offset, quint32 value) {
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

/// The wave file with `chunk` inserted between its format and its data.
QByteArray withChunk(const QByteArray& wave, const QByteArray& chunk) {
    return patched(wave.left(36) + chunk + wave.mid(36), 4,
                   quint32(wave.size() + chunk.size() - 8));
}

/// As the windows do: HELP, then the quit box, back and forth, the loop running between.
/// Prints how long the longest cue kept the caller waiting.
int playCuesAsTheWindowsDo() {
    SoundEffectCues sounds;
    qint64 longest = 0;
    for (int i = 0; i < 6; ++i) {
        QElapsedTimer clock;
        clock.start();
        sounds.play(i % 2 == 0 ? QStringLiteral("pinpon.wav") : QStringLiteral("endpinpon.wav"));
        longest = std::max(longest, clock.nsecsElapsed());
        QTest::qWait(150);
    }
    std::printf("longest cue call: %.2f ms\n", double(longest) / 1e6);
    return 0;
}

}  // namespace

class SoundFilesTest : public QObject {
    Q_OBJECT
private slots:
    void aDamagedCueFileNeverFreezesTheProgram_data();
    void aDamagedCueFileNeverFreezesTheProgram();
};

void SoundFilesTest::aDamagedCueFileNeverFreezesTheProgram_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("size");  // the file grown sparsely to this size; 0: as written
    QTest::addColumn<bool>("played");  // the file itself plays, not the built-in copy
    const QByteArray wave = chime();
    const auto dataSize = quint32(wave.size() - 44);
    QTest::newRow("the chime") << wave << qint64(0) << true;
    QTest::newRow("with a list chunk")
        << withChunk(wave, QByteArray("LIST\x04\0\0\0INFO", 12)) << qint64(0) << true;
    QTest::newRow("odd-sized chunk, padded")
        << withChunk(wave, QByteArray("LIST\x05\0\0\0INFOx\0", 14)) << qint64(0) << false;
    QTest::newRow("empty") << QByteArray() << qint64(0) << false;
    QTest::newRow("RIFF only") << wave.left(4) << qint64(0) << false;
    QTest::newRow("header only") << wave.left(44) << qint64(0) << false;
    QTest::newRow("half copied") << wave.left(wave.size() / 2) << qint64(0) << false;
    QTest::newRow("data beyond the file")
        << patched(wave, 40, dataSize + 4096) << qint64(0) << false;
    QTest::newRow("RIFF beyond the file")
        << patched(wave, 4, quint32(wave.size())) << qint64(0) << false;
    QTest::newRow("no channels") << patched(wave, 20, 0x00000001) << qint64(0) << false;
    QTest::newRow("text") << QByteArray("not a sound\n").repeated(100) << qint64(0) << false;
    QTest::newRow("not WAVE") << patched(wave, 8, 0x45564157 + 1) << qint64(0) << false;
    QTest::newRow("over the size cap")
        << patched(patched(wave.left(44), 40, kHugeFile - 44), 4, kHugeFile - 8) << kHugeFile
        << false;
}

void SoundFilesTest::aDamagedCueFileNeverFreezesTheProgram() {
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFETCH(bool, played);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& name : {QStringLiteral("pinpon.wav"), QStringLiteral("endpinpon.wav")}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        QVERIFY(size == 0 || file.resize(size));
    }
    QProcess cues;
    cues.setWorkingDirectory(dir.path());
    cues.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kPlayCues)});
    const bool ended = cues.waitForFinished(10'000);
    if (!ended) {
        cues.kill();
        cues.waitForFinished();
    }
    QVERIFY2(ended, "the cues froze the program");
    QCOMPARE(cues.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cues.exitCode(), 0);
    qInfo("%s", cues.readAllStandardOutput().trimmed().constData());
    for (const QString& name : {QStringLiteral("pinpon.wav"), QStringLiteral("endpinpon.wav")}) {
        const QUrl local = QUrl::fromLocalFile(dir.filePath(name));
        QCOMPARE(soundLocation(name, {dir.path()}) == local, played);
    }
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], kPlayCues) == 0) {
        return playCuesAsTheWindowsDo();
    }
    SoundFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sound_files.moc"
