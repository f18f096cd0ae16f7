#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "landing_recorder.h"
#include "record_line.h"

namespace tanabashigo {

/// The system calls the record writer makes, one virtual function each, so that a test can
/// make any of them fail as a full disk or a failing drive would. Each answers as the call does.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual int close(int descriptor);
    virtual int stat(const char* path, struct stat* status);
    virtual int fstat(int descriptor, struct stat* status);
    virtual int flock(int descriptor, int operation);
    virtual ssize_t pread(int descriptor, void* buffer, std::size_t size, off_t offset);
    virtual ssize_t write(int descriptor, const void* data, std::size_t size);
    virtual int fsync(int descriptor);
    virtual int ftruncate(int descriptor, off_t size);
    /// The calls as the system makes them.
    static FileCalls& system();
};

/// The largest record file the writer makes: far beyond years of lessons, well inside what
/// the reader takes. It warns from three quarters of it.
inline constexpr std::uint64_t kMostRecordBytes = std::uint64_t{16} << 30;

/// Appends one CSV record line per landing to the file at one path, numbering the landings
/// by experiment and trial.
///
/// Every line is written whole and synced before recordLanding returns, under an exclusive
/// flock that also covers choosing an experiment's number, so windows sharing a file never
/// collide. The number follows the highest in the file's tail. A line that was cut short
/// (a power cut, a full disk) is left on a line of its own. When another program replaces or
/// deletes the file, the landings go to the file now at the path: the experiment goes on
/// there when that file holds its last line, else it is written there afresh, renumbered.
class RecordWriter final : public LandingRecorder {
public:
    /// A writer for `path`: a new file, an empty one, or a record (a regular file starting with
    /// the record header); anything else is refused with the reason. `now` gives the local time
    /// in ISO 8601 with offset; `calls` must outlive the writer.
    static std::variant<std::unique_ptr<RecordWriter>, RecordFault> open(
        const std::string& path, std::function<std::string()> now = localTimeNow,
        FileCalls& calls = FileCalls::system());
    ~RecordWriter() override;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    void startExperiment() override { lines_.clear(); }
    std::optional<RecordFault> recordLanding(const RecordedLanding& landing) override;

    /// A warning, with its line end, when the file is near the size a record may have; empty
    /// otherwise.
    std::string sizeWarning() const;

private:
    RecordWriter(std::string path, std::function<std::string()> now, FileCalls& calls)
        : path_(std::move(path)), now_(std::move(now)), calls_(calls) {}
    /// The reason for `error` (an errno value), at this writer's path.
    RecordFault fault(int error) const;
    /// Opens the path and checks that it may be recorded into; nothing when it may.
    std::optional<RecordFault> openPath();
    /// Reopens the path when the file there is no longer the one open.
    std::optional<RecordFault> followPath();
    /// Writes `landing` while the file is locked.
    std::optional<RecordFault> appendLocked(const RecordedLanding& landing);

    std::string path_;
    std::function<std::string()> now_;
    FileCalls& calls_;
    int descriptor_ = -1;
    std::uint64_t size_ = 0;         ///< the file's size after the last look
    bool reopened_ = false;          ///< the path held another file since the last line written
    std::vector<RecordLine> lines_;  ///< the experiment's lines written so far
};

}  // namespace tanabashigo
