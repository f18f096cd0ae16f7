#include "sound_cues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>

namespace tanabashigo {

QUrl soundLocation(const QString& fileName, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), fileName);
        if (candidate.isFile() && candidate.isReadable()) {
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
    if (!effect_) {
        effect_ = std::make_unique<QSoundEffect>();
    }
    effect_->stop();
    effect_->setSource(soundLocation(fileName, soundFolders()));
    effect_->play();
}

}  // namespace tanabashigo
