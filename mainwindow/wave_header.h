#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tanabashigo {

/// Largest cue file taken from disk (the chimes are about 100 KB).
inline constexpr std::uint64_t kMaxCueFileBytes = 4u << 20;
/// How many leading bytes of a file isLoadableWave needs to see.
inline constexpr std::size_t kWaveHeadBytes = 4096;

/// Whether a file of `fileSize` bytes that begins with `head` is a whole PCM wave file that the
/// sound system loads without stalling: RIFF/WAVE, a usable format chunk, even-sized chunks up to
/// a non-empty data chunk, none of them reaching past the file, and at most kMaxCueFileBytes.
bool isLoadableWave(std::string_view head, std::uint64_t fileSize);

}  // namespace tanabashigo
