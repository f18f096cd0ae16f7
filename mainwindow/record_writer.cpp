#include "record_writer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

#include "record_line.h"

namespace tanabashigo {

namespace {

// Reasons that are not errno values.
constexpr int kNotRegular = -1;
constexpr int kNotRecord = -2;
constexpr int kNumbersUsedUp = -3;
constexpr int kTooLarge = -4;

struct Reason {
    int error;
    const char* japanese;
    const char* english;
};

constexpr Reason kReasons[] = {
    {ENOSPC, "ディスクがいっぱいです。", "the disk is full"},
    {EDQUOT, "ディスクの使える量を使い切りました。", "the disk quota is used up"},
    {ENOENT, "ファイルが消えました（入っていたフォルダーもありません）。",
     "the file is gone, and so is its folder"},
    {EIO, "ディスクの読み書きに失敗しました。", "an input/output error"},
    {EACCES, "このファイルに書き込む許可がありません。", "permission denied"},
    {EPERM, "このファイルに書き込む許可がありません。", "permission denied"},
    {EROFS, "書き込めないディスクです。", "the disk is read-only"},
    {EWOULDBLOCK, "ほかのプログラムがファイルを使ったままです。",
     "another program keeps the file locked"},
    {kNotRegular, "ふつうのファイルではありません（フォルダー、FIFO、装置など）。",
     "not a regular file (a folder, a FIFO or a device)"},
    {kNotRecord, "着地の記録ファイルではありません（1 行目が見出しと違います）。",
     "not a landing record: the first line is not its header"},
    {kNumbersUsedUp, "実験の番号を使い切りました。新しいファイルに記録してください。",
     "the experiment numbers are used up: record into a new file"},
    {kTooLarge, "記録ファイルが大きくなりすぎました。新しいファイルに記録してください。",
     "the record file has grown too large: record into a new file"},
};

/// How much of the file's end is read to find the highest experiment number: the lines of
/// several experiments, so windows sharing the file see each other's numbers.
constexpr std::size_t kTailBytes = 64 * 1024;
constexpr int kLockAttempts = 2000;  // a millisecond apart
constexpr mode_t kNewFileMode = 0644;

/// The highest experiment number in `tail` after its last header; its first line is skipped
/// unless `whole`, as the read may have begun inside it.
int highestExperiment(std::string_view tail, bool whole) {
    int highest = 0;
    for (bool first = true; !tail.empty(); first = false) {
        const std::size_t end = std::min(tail.find('\n'), tail.size());
        std::string_view line = tail.substr(0, end);
        tail.remove_prefix(std::min(end + 1, tail.size()));
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (first && !whole) {
            continue;
        }
        if (line == recordHeader()) {
            highest = 0;
        } else if (const auto read = parseRecordLine(line)) {
            highest = std::max(highest, read->experiment);
        }
    }
    return highest;
}

/// Whether `tail` holds `line` as a whole line.
bool holdsLine(std::string_view tail, const RecordLine& line) {
    const std::string text = formatRecordLine(line);
    const std::size_t at = tail.rfind(text);
    return at != std::string_view::npos && (at == 0 || tail[at - 1] == '\n');
}

/// Whether `start`, the first bytes of a file, begin with the record header as a whole line.
bool startsAsRecord(std::string_view start) {
    if (start.starts_with("\xEF\xBB\xBF")) {
        start.remove_prefix(3);  // the byte-order mark some editors write
    }
    if (!start.starts_with(recordHeader())) {
        return false;
    }
    start.remove_prefix(recordHeader().size());
    return start.empty() || start.starts_with('\n') || start.starts_with("\r\n");
}

}  // namespace

int FileCalls::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
int FileCalls::close(int descriptor) {
    return ::close(descriptor);
}
int FileCalls::stat(const char* path, struct stat* status) {
    return ::stat(path, status);
}
int FileCalls::fstat(int descriptor, struct stat* status) {
    return ::fstat(descriptor, status);
}
int FileCalls::flock(int descriptor, int operation) {
    return ::flock(descriptor, operation);
}
ssize_t FileCalls::pread(int descriptor, void* buffer, std::size_t size, off_t offset) {
    return ::pread(descriptor, buffer, size, offset);
}
ssize_t FileCalls::write(int descriptor, const void* data, std::size_t size) {
    return ::write(descriptor, data, size);
}
int FileCalls::fsync(int descriptor) {
    return ::fsync(descriptor);
}
int FileCalls::ftruncate(int descriptor, off_t size) {
    return ::ftruncate(descriptor, size);
}
FileCalls& FileCalls::system() {
    static FileCalls calls;
    return calls;
}

std::variant<std::unique_ptr<RecordWriter>, RecordFault> RecordWriter::open(
    const std::string& path, std::function<std::string()> now, FileCalls& calls) {
    std::unique_ptr<RecordWriter> writer(new RecordWriter(path, std::move(now), calls));
    if (auto refused = writer->openPath()) {
        return *refused;
    }
    return writer;
}

RecordWriter::~RecordWriter() {
    if (descriptor_ >= 0) {
        calls_.close(descriptor_);
    }
}

RecordFault RecordWriter::fault(int error) const {
    for (const Reason& reason : kReasons) {
        if (reason.error == error) {
            return {path_, reason.japanese, reason.english};
        }
    }
    return {path_, std::string(std::strerror(error)) + "。", std::strerror(error)};
}

std::string RecordWriter::sizeWarning() const {
    if (size_ < kMostRecordBytes / 4 * 3) {
        return {};
    }
    return "記録ファイル「" + path_ +
           "」がもうすぐいっぱいになります。新しいファイルに記録してください。\n"
           "The record file '" +
           path_ + "' is nearly as large as a record may grow: record into a new file.\n";
}

std::optional<RecordFault> RecordWriter::openPath() {
    struct stat status {};
    if (calls_.stat(path_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        return fault(kNotRegular);
    }
    // Not blocking: what appears at the path meanwhile may be a FIFO.
    const int descriptor =
        calls_.open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                    kNewFileMode);
    if (descriptor < 0) {
        return fault(errno);
    }
    char start[128];
    ssize_t got = 0;
    int refusal = 0;
    if (calls_.fstat(descriptor, &status) != 0) {
        refusal = errno;
    } else if (!S_ISREG(status.st_mode)) {
        refusal = kNotRegular;
    } else if (status.st_size > 0 && (got = calls_.pread(descriptor, start, sizeof start, 0)) < 0) {
        refusal = errno;
    } else if (status.st_size > 0 && !startsAsRecord({start, std::size_t(got)})) {
        refusal = kNotRecord;
    }
    if (refusal != 0) {
        calls_.close(descriptor);
        return fault(refusal);
    }
    if (descriptor_ >= 0) {
        calls_.close(descriptor_);
        reopened_ = true;
    }
    descriptor_ = descriptor;
    size_ = std::uint64_t(status.st_size);
    return std::nullopt;
}

std::optional<RecordFault> RecordWriter::followPath() {
    struct stat atPath {
    }, open{};
    if (descriptor_ >= 0 && calls_.stat(path_.c_str(), &atPath) == 0 &&
        calls_.fstat(descriptor_, &open) == 0 && atPath.st_dev == open.st_dev &&
        atPath.st_ino == open.st_ino) {
        return std::nullopt;
    }
    return openPath();
}

std::optional<RecordFault> RecordWriter::recordLanding(const RecordedLanding& landing) {
    if (auto moved = followPath()) {
        return moved;
    }
    for (int attempt = 1; calls_.flock(descriptor_, LOCK_EX | LOCK_NB) != 0; ++attempt) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || attempt == kLockAttempts) {
            return fault(errno == EINTR ? EWOULDBLOCK : errno);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    auto result = appendLocked(landing);
    calls_.flock(descriptor_, LOCK_UN);
    return result;
}

std::optional<RecordFault> RecordWriter::appendLocked(const RecordedLanding& landing) {
    struct stat status {};
    if (calls_.fstat(descriptor_, &status) != 0) {
        return fault(errno);
    }
    const auto size = std::uint64_t(status.st_size);
    std::string tail(std::min<std::uint64_t>(size, kTailBytes), '\0');
    const off_t from = off_t(size - tail.size());
    errno = 0;
    if (calls_.pread(descriptor_, tail.data(), tail.size(), from) != ssize_t(tail.size())) {
        return fault(errno == 0 ? EIO : errno);
    }
    std::string text;
    if (size == 0) {
        text.append(recordHeader()).push_back('\n');
    } else if (tail.back() != '\n') {
        text.push_back('\n');  // sets aside a line cut short, never continues it
    }
    std::vector<RecordLine> lines = lines_;
    // In a file that does not hold the experiment's last line, the experiment starts afresh.
    const bool afresh = lines.empty() || (reopened_ && !holdsLine(tail, lines.back()));
    const int experiment =
        afresh ? highestExperiment(tail, from == 0) + 1 : lines.front().experiment;
    if (experiment > kMostRecordNumber) {
        return fault(kNumbersUsedUp);
    }
    lines.push_back({now_(), experiment, int(lines.size()) + 1, landing.rungs, landing.start,
                     landing.column, landing.count, landing.endsExperiment});
    for (std::size_t i = afresh ? 0 : lines.size() - 1; i < lines.size(); ++i) {
        lines[i].experiment = experiment;
        text += formatRecordLine(lines[i]);
    }
    if (size + text.size() > kMostRecordBytes) {
        return fault(kTooLarge);
    }
    ssize_t written;
    do {
        errno = 0;
        written = calls_.write(descriptor_, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    const bool whole = written == ssize_t(text.size());
    if (!whole || calls_.fsync(descriptor_) != 0) {
        // A short write leaves errno unset: it is the disk filling up.
        const int error = whole || written < 0 ? errno : ENOSPC;
        calls_.ftruncate(descriptor_, off_t(size));  // takes back a part-written line
        return fault(error == 0 ? EIO : error);
    }
    lines_ = std::move(lines);
    reopened_ = false;
    size_ = size + text.size();
    return std::nullopt;
}

}  // namespace tanabashigo
