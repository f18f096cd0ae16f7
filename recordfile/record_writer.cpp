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
#include <vector>

namespace tanabashigo {

namespace {

// Reasons that are not errno values.
constexpr int kNotRegular = -1;
constexpr int kTooLarge = -2;
constexpr int kNoFolder = -3;
constexpr int kFolderReadOnly = -4;

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
    {ELOOP, "シンボリックリンクです。記録ファイルそのものの名前を指定してください。",
     "it is a symbolic link: name the record file itself"},
    {kNoFolder, "記録ファイルを入れるフォルダーがありません。", "the folder does not exist"},
    {kFolderReadOnly, "記録ファイルを入れるフォルダーに書き込めません（読み取り専用です）。",
     "the folder is read-only"},
    {kTooLarge, "記録ファイルが大きくなりすぎました。新しいファイルに記録してください。",
     "the record file has grown too large: record into a new file"},
};

constexpr std::size_t kReadBytes = 64 * 1024;
/// How much of the file's end the writer remembers, to notice the file rewritten in place.
constexpr std::size_t kKnownEndBytes = 128;
constexpr mode_t kNewFileMode = 0644;

/// The folder of `path`.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

/// The last `most` bytes of `before` followed by `text`.
std::string lastBytes(const std::string& before, std::string_view text, std::size_t most) {
    std::string joined = text.size() >= most ? std::string() : before;
    joined.append(text.substr(text.size() - std::min(text.size(), most)));
    return joined.substr(joined.size() - std::min(joined.size(), most));
}

}  // namespace

std::variant<std::unique_ptr<RecordWriter>, RecordFault> RecordWriter::open(
    const std::string& path, std::function<std::string()> now, FileCalls& calls) {
    std::unique_ptr<RecordWriter> writer(new RecordWriter(path, std::move(now), calls));
    if (auto refused = writer->openPath(false)) {
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
            return {path_, reason.japanese, reason.english, 0, error == EWOULDBLOCK};
        }
    }
    return {path_, std::string(std::strerror(error)) + "。", std::strerror(error)};
}

RecordFault RecordWriter::fault(const RecordError& error) const {
    if (error.line == 0) {
        return {path_, error.japanese, error.english};
    }
    const std::string line = std::to_string(error.line);
    return {path_, line + " 行目：" + error.japanese, "line " + line + ": " + error.english,
            error.line};
}

std::string RecordWriter::sizeWarning() const {
    if (known_ < kMostRecordBytes / 4 * 3) {
        return {};
    }
    return "記録ファイル「" + path_ +
           "」がもうすぐいっぱいになります。新しいファイルに記録してください。\n"
           "The record file '" +
           path_ + "' is nearly as large as a record may grow: record into a new file.\n";
}

std::optional<RecordFault> RecordWriter::checkFolder() const {
    const std::string folder = folderOf(path_);
    if (calls_.access(folder.c_str(), W_OK | X_OK) == 0) {
        return std::nullopt;
    }
    if (errno == ENOENT || errno == ENOTDIR) {
        return fault(kNoFolder);
    }
    return fault(errno == EROFS ? EROFS : kFolderReadOnly);
}

std::optional<RecordFault> RecordWriter::openPath(bool create) {
    struct stat status {};
    const bool exists = calls_.lstat(path_.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        return fault(S_ISLNK(status.st_mode) ? ELOOP : kNotRegular);
    }
    if (!exists && !create) {
        return checkFolder();
    }
    // Not blocking: what appears at the path meanwhile may be a FIFO.
    const int descriptor = calls_.open(
        path_.c_str(),
        O_RDWR | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0),
        kNewFileMode);
    if (descriptor < 0) {
        const int error = errno;
        if (!exists && (error == ENOENT || error == EACCES || error == EPERM) &&
            !(opened_ && error == ENOENT)) {
            return checkFolder().value_or(fault(error));
        }
        return fault(error);
    }
    int refusal = 0;
    if (calls_.fstat(descriptor, &status) != 0) {
        refusal = errno;
    } else if (!S_ISREG(status.st_mode)) {
        refusal = kNotRegular;
    }
    const int before = descriptor_;
    descriptor_ = descriptor;
    reader_ = {};
    known_ = 0;
    knownEnd_.clear();
    std::optional<RecordFault> refused =
        refusal != 0 ? fault(refusal) : readInto(0, std::uint64_t(status.st_size));
    if (!refused && !reader_.atLineStart()) {
        // The last line lacks its line end: judged as the writer's next line end will make it.
        RecordReader ended = reader_;
        if (!ended.read("\n")) {
            refused = fault(*ended.error());
        }
    }
    if (refused) {
        calls_.close(descriptor);
        descriptor_ = before;
        return refused;
    }
    if (before >= 0) {
        calls_.close(before);
        moved_ = true;
    }
    opened_ = true;
    return std::nullopt;
}

std::optional<RecordFault> RecordWriter::followPath() {
    struct stat atPath {
    }, open{};
    if (descriptor_ >= 0 && calls_.lstat(path_.c_str(), &atPath) == 0 &&
        calls_.fstat(descriptor_, &open) == 0 && atPath.st_dev == open.st_dev &&
        atPath.st_ino == open.st_ino) {
        return std::nullopt;
    }
    return openPath(true);
}

std::optional<RecordFault> RecordWriter::readInto(std::uint64_t from, std::uint64_t to) {
    std::vector<char> buffer(std::min<std::uint64_t>(to - from, kReadBytes));
    while (from < to) {
        errno = 0;
        const ssize_t got =
            calls_.pread(descriptor_, buffer.data(),
                         std::min<std::uint64_t>(to - from, buffer.size()), off_t(from));
        if (got <= 0) {
            return fault(errno == 0 ? EIO : errno);
        }
        const std::string_view piece(buffer.data(), std::size_t(got));
        from += std::uint64_t(got);
        known_ = from;
        knownEnd_ = lastBytes(knownEnd_, piece, kKnownEndBytes);
        if (!reader_.read(piece)) {
            return fault(*reader_.error());
        }
    }
    return std::nullopt;
}

std::optional<RecordFault> RecordWriter::catchUp(std::uint64_t size) {
    std::string end(knownEnd_.size(), '\0');
    const bool same =
        size >= known_ &&
        (end.empty() || calls_.pread(descriptor_, end.data(), end.size(),
                                     off_t(known_ - end.size())) == ssize_t(end.size())) &&
        end == knownEnd_;
    if (!same) {
        reader_ = {};
        known_ = 0;
        knownEnd_.clear();
    }
    return readInto(known_, size);
}

std::optional<RecordFault> RecordWriter::recordLanding(const LandingEntry& landing) {
    if (auto moved = followPath()) {
        return moved;
    }
    // Another program's lock is waited for a few milliseconds at the most: the caller tries
    // again later, and the window it runs in stays responsive.
    const auto giveUp =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongestWaitMs);
    while (calls_.flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= giveUp) {
            return fault(errno == EINTR ? EWOULDBLOCK : errno);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    auto result = appendLocked(landing);
    calls_.flock(descriptor_, LOCK_UN);
    return result;
}

std::optional<RecordFault> RecordWriter::appendLocked(const LandingEntry& landing) {
    struct stat status {};
    if (calls_.fstat(descriptor_, &status) != 0) {
        return fault(errno);
    }
    const auto size = std::uint64_t(status.st_size);
    if (auto unread = catchUp(size)) {
        return unread;
    }
    auto appended = appender_.append(reader_, landing, now_(), moved_);
    if (const RecordError* refused = std::get_if<RecordError>(&appended)) {
        return fault(*refused);
    }
    RecordAppend& done = std::get<RecordAppend>(appended);
    const std::string& text = done.text;
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
    reader_.read(text);
    known_ = size + text.size();
    knownEnd_ = lastBytes(knownEnd_, text, kKnownEndBytes);
    appender_.appended(std::move(done));
    moved_ = false;
    return std::nullopt;
}

}  // namespace tanabashigo
