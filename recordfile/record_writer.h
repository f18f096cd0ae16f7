#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "file_calls.h"
#include "landing_recorder.h"
#include "record_appender.h"
#include "record_reader.h"

namespace tanabashigo {

/// The largest record file the writer makes: far beyond years of lessons, well inside what
/// the reader takes. It warns from three quarters of it.
inline constexpr std::uint64_t kMostRecordBytes = std::uint64_t{16} << 30;

/// Appends one CSV record line per landing to the file at one path, numbering the landings
/// by experiment and trial (RecordAppender).
///
/// Every line is written whole and synced before recordLanding returns, under an exclusive
/// flock that also covers choosing an experiment's number, so windows sharing a file never
/// collide. The writer knows the file by what it holds, as the reader reads it: a copy saved
/// again with CRLF line ends or a byte-order mark, or put back by a sync client, is the same
/// record and the experiment goes on in it. A file cut short or rewritten in place so that it
/// no longer holds the experiment's lines is refused with what was found. When another program
/// deletes the file or puts another record at the path, the experiment is written there
/// afresh, renumbered. The path is never followed through a symbolic link, and no file is made
/// before the first landing.
class RecordWriter final : public LandingRecorder {
public:
    /// A writer for `path`: a new file in a folder that can take it, or an existing record the
    /// reader takes (an empty file too); anything else is refused with the reason, and the line
    /// for a line the reader refuses. `now` gives the local time in ISO 8601 with offset;
    /// `calls` must outlive the writer.
    static std::variant<std::unique_ptr<RecordWriter>, RecordFault> open(
        const std::string& path, std::function<std::string()> now = localTimeNow,
        FileCalls& calls = FileCalls::system());
    ~RecordWriter() override;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    void startExperiment() override { appender_.startExperiment(); }
    void predict(const ClassPrediction& prediction) override { appender_.predict(prediction); }
    std::optional<RecordFault> recordLanding(const LandingEntry& landing) override;

    /// A warning, with its line end, when the file is near the size a record may have; empty
    /// otherwise.
    std::string sizeWarning() const;

private:
    RecordWriter(std::string path, std::function<std::string()> now, FileCalls& calls)
        : path_(std::move(path)), now_(std::move(now)), calls_(calls) {}
    /// The reason for `error` (an errno value or one of the writer's own), at this path.
    RecordFault fault(int error) const;
    /// The reader's reason for refusing the file.
    RecordFault fault(const RecordError& error) const;
    /// Why the folder cannot take a new file at the path, if it cannot.
    std::optional<RecordFault> checkFolder() const;
    /// Opens the path, making the file when `create`; nothing when it may be recorded into.
    std::optional<RecordFault> openPath(bool create);
    /// Reopens the path when the file there is no longer the one open.
    std::optional<RecordFault> followPath();
    /// Brings `reader_` up to what the file now holds, reading it all again when it changed
    /// other than by lines appended.
    std::optional<RecordFault> catchUp(std::uint64_t size);
    /// Reads the file from `from` to `to` into `reader_`.
    std::optional<RecordFault> readInto(std::uint64_t from, std::uint64_t to);
    /// Writes `landing` while the file is locked.
    std::optional<RecordFault> appendLocked(const LandingEntry& landing);

    std::string path_;
    std::function<std::string()> now_;
    FileCalls& calls_;
    int descriptor_ = -1;
    bool opened_ = false;      ///< a file was open at the path once
    bool moved_ = false;       ///< the path held another file since the last line written
    RecordReader reader_;      ///< what the file holds, as far as `known_`
    std::uint64_t known_ = 0;  ///< how much of the file `reader_` has read
    std::string knownEnd_;     ///< the bytes just before `known_`, to notice a rewrite
    RecordAppender appender_;
};

}  // namespace tanabashigo
