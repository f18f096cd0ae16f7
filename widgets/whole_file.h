#pragma once

#include <string>
#include <string_view>

namespace tanabashigo {

/// How saving a whole file went.
struct SaveOutcome {
    enum class Result { Saved, NotRegular, Failed };
    Result result = Result::Saved;
    int error = 0;  ///< errno of the failure, for Failed
    bool saved() const { return result == Result::Saved; }
    /// Why it failed, in Japanese; empty when saved.
    std::string japanese() const;
    /// Why it failed, in English; empty when saved.
    std::string english() const;
};

/// Writes `bytes` to the file at `path` (its bytes as given) all or nothing: into a new file
/// beside it, each write checked and synced, which then replaces it. On any failure the old
/// file stays as it was. A target that exists and is not a regular file (a device, a FIFO, a
/// folder, also through a symbolic link) is refused untouched.
SaveOutcome saveWholeFile(const std::string& path, std::string_view bytes);

}  // namespace tanabashigo
