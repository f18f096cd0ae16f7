#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tanabashigo {

/// One landing as the main window reports it.
struct RecordedLanding {
    int rungs = 0;                ///< rungs per ladder
    int start = 3;                ///< start line 1..10
    int column = 0;               ///< landing column 1..10
    int count = 0;                ///< that column's count after the landing
    bool endsExperiment = false;  ///< it found its column full: nothing was counted
};

/// Where the main window keeps its landings, so that HELP and 初期化 lose none of them.
class LandingRecorder {
public:
    virtual ~LandingRecorder() = default;
    /// The tally starts empty: the landings that follow belong to a new experiment.
    virtual void startExperiment() = 0;
    /// Keeps one landing; it is safely stored when this returns.
    virtual void recordLanding(const RecordedLanding& landing) = 0;
};

/// Where record lines go: the end of a file that others may append to as well.
class RecordSink {
public:
    virtual ~RecordSink() = default;
    /// What the file holds so far.
    virtual std::string existingText() = 0;
    /// Appends `text` in one piece; it is on disk when this returns true.
    virtual bool append(std::string_view text) = 0;
};

/// A file opened for appending: every append is one write() on an O_APPEND descriptor,
/// then fsync(), so two programs appending to one file never interleave within a line.
class AppendFile final : public RecordSink {
public:
    /// Opens (creating when missing) `path` for appending; null with errno set on failure.
    static std::unique_ptr<AppendFile> open(const std::string& path);
    ~AppendFile() override;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    std::string existingText() override;
    bool append(std::string_view text) override;

private:
    explicit AppendFile(int descriptor) : descriptor_(descriptor) {}
    int descriptor_;
};

/// Numbers the landings by experiment and trial and writes one CSV record line per landing,
/// with the header first when the file is empty. Experiment numbers continue after the
/// highest one already in the file.
class CsvLandingRecorder final : public LandingRecorder {
public:
    /// `sink` must outlive the recorder; `now` gives the local time in ISO 8601 with offset.
    CsvLandingRecorder(RecordSink& sink, std::function<std::string()> now);

    void startExperiment() override { experiment_ = 0; }
    void recordLanding(const RecordedLanding& landing) override;

private:
    RecordSink& sink_;
    std::function<std::string()> now_;
    int experiment_ = 0;  ///< 0 until the experiment's first landing is written
    int trial_ = 0;
    bool failureReported_ = false;
};

/// The local time now, as a record line wants it.
std::string localTimeNow();

}  // namespace tanabashigo
