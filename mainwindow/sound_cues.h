#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

class QSoundEffect;

namespace tanabashigo {

/// Plays the short wave-file cues. Nothing about a failure is reported or changes behaviour.
class SoundCues {
public:
    virtual ~SoundCues() = default;
    /// Stops any cue still sounding and plays the wave file with this bare name.
    virtual void play(const QString& fileName) = 0;
};

/// Where a cue's wave file is taken from: the working directory, beside the executable,
/// the installed data folder, and last the copy built into the program.
QUrl soundLocation(const QString& fileName, const QStringList& folders);
/// The folders searched, in order, before the built-in copy.
QStringList soundFolders();

/// Cues through QSoundEffect, created on the first cue so start-up never waits for audio.
class SoundEffectCues final : public SoundCues {
public:
    SoundEffectCues();
    ~SoundEffectCues() override;
    void play(const QString& fileName) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace tanabashigo
