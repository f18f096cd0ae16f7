#include "sound_cues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>

#include "wave_header.h"

namespace tanabashigo {

namespace {

/// Whether the file at `path` is a wave file the sound system loads without stalling.
bool isLoadableWaveFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(kWaveHeadBytes);
    return isLoadableWave(std::string_view(head.constData(), std::size_t(head.size())),
                          std::uint64_t(file.size()));
}

}  // namespace

QUrl soundLocation(const QString& fileName, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), fileName);
        if (candidate.isFile() && isLoadableWaveFile(candidate.absoluteFilePath())) {
            return QUrl::fromLocalFile(candidate.absoluteFilePath());
        }
    }
    return QUrl(QStringLiteral("qrc:/sounds/") + fileName);
}

QStringList soundFolders() {
    const QString programDir = QCoreApplication::applicationDirPath();
    // The data folder next to the program's own bin/, wherever it was installed, then the
    // one the build was configured for.
    return {QDir::currentPath(), programDir,
            QDir::cleanPath(programDir + QStringLiteral("/../share/tanabashigo")),
            QStringLiteral(TANABASHIGO_SOUND_DIR)};
}

SoundEffectCues::SoundEffectCues() = default;
SoundEffectCues::~SoundEffectCues() = default;

void SoundEffectCues::play(const QString& fileName) {
    for (const auto& [name, effect] : effects_) {
        effect->stop();
    }
    std::unique_ptr<QSoundEffect>& effect = effects_[fileName];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(soundLocation(fileName, soundFolders()));
    }
    effect->play();
}

}  // namespace tanabashigo
