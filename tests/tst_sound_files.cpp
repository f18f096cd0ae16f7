#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "sound_cues.h"

/// `wave` with the 32-bit field at `at` set to `value`, and `chunk` put before its data.
static QByteArray edited(QByteArray wave, qsizetype at, quint32 value, QByteArray chunk = {}) {
    qToLittleEndian(value, wave.data() + at);
    return wave.insert(36, chunk);
}

class SoundFilesTest : public QObject {
    Q_OBJECT
private slots:
    void aDamagedCueFileNeverFreezesTheProgram_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("played");  // the file itself plays, not the built-in copy
        QFile chime(QStringLiteral(":/sounds/pinpon.wav"));
        QVERIFY(chime.open(QIODevice::ReadOnly));
        const QByteArray wave = chime.readAll();
        const auto riff = quint32(wave.size() - 8);
        const auto data = quint32(wave.size() - 44);
        constexpr quint32 huge = 5 << 20;
        QTest::newRow("the chime") << wave << true;
        QTest::newRow("a list chunk")
            << edited(wave, 4, riff + 12, {"LIST\4\0\0\0INFO", 12}) << true;
        QTest::newRow("odd chunk")
            << edited(wave, 4, riff + 14, {"LIST\5\0\0\0INFOx\0", 14}) << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("RIFF only") << wave.left(4) << false;
        QTest::newRow("header only") << wave.left(44) << false;
        QTest::newRow("half copied") << wave.left(wave.size() / 2) << false;
        QTest::newRow("data past the end") << edited(wave, 40, data + 4096) << false;
        QTest::newRow("RIFF past the end") << edited(wave, 4, riff + 4096) << false;
        QTest::newRow("no channels") << edited(wave, 20, 1) << false;
        QTest::newRow("not WAVE") << edited(wave, 8, 0) << false;
        QTest::newRow("text") << QByteArray("not a sound\n").repeated(100) << false;
        QTest::newRow("over 4 MiB")
            << edited(edited(wave, 4, riff + huge), 40, data + huge) + QByteArray(huge, 0) << false;
    }
    void aDamagedCueFileNeverFreezesTheProgram() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, played);
        QTemporaryDir dir;
        for (const QString cue : {"pinpon.wav", "endpinpon.wav"}) {
            QFile file(dir.filePath(cue));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                    file.flush());
            QCOMPARE(tanabashigo::soundLocation(cue, {dir.path()}).isLocalFile(), played);
        }
        // The cues as HELP and the quit box play them, from the working folder; a freeze fails
        // under the test watchdog (the constructor) instead of hanging.
        QVERIFY(QDir::setCurrent(dir.path()));
        tanabashigo::SoundEffectCues sounds;
        for (int cue = 0; cue < 6; ++cue) {
            sounds.play(cue % 2 != 0 ? QStringLiteral("endpinpon.wav")
                                     : QStringLiteral("pinpon.wav"));
            QTest::qWait(150);
        }
    }

public:
    SoundFilesTest() { qputenv("QTEST_FUNCTION_TIMEOUT", "60000"); }
};

QTEST_GUILESS_MAIN(SoundFilesTest)
#include "tst_sound_files.moc"
