#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <map>
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

/// Where a cue's wave file is taken from: the first loadable wave file of that name in the
/// working directory, beside the executable, or the installed data folder, and last the copy
/// built into the program. A damaged, truncated or oversized file is passed over.
QUrl soundLocation(const QString& fileName, const QStringList& folders);
/// The folders searched, in order, before the built-in copy.
QStringList soundFolders();

/// Cues through QSoundEffect: one effect per cue file, made on that cue's first play and kept, so
/// start-up never waits for audio and one cue never waits for the other's loader.
class SoundEffectCues final : public SoundCues {
public:
    SoundEffectCues();
    ~SoundEffectCues() override;
    void play(const QString& fileName) override;

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
};

}  // namespace tanabashigo
