#include "whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tanabashigo {

namespace {

/// Writes all of `bytes` to `fd`; false with errno set when any write fails or falls short.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            errno = written == 0 ? ENOSPC : errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// The file a save replaces: `path`, or where its symbolic link points.
std::string replacedFile(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

SaveOutcome failed(int error) {
    return {SaveOutcome::Result::Failed, error};
}

}  // namespace

std::string SaveOutcome::japanese() const {
    switch (result) {
        case Result::Saved:
            return {};
        case Result::NotRegular:
            return "ふつうのファイルではないので、書き換えません";
        case Result::Failed:
            break;
    }
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return "ディスクがいっぱいです";
        case EACCES:
        case EPERM:
        case EROFS:
            return "書き込みが許されていません";
        case ENOENT:
        case ENOTDIR:
            return "フォルダーがありません";
        default:
            return "書き込めませんでした";
    }
}

std::string SaveOutcome::english() const {
    if (result == Result::NotRegular) {
        return "not a regular file, left untouched";
    }
    return saved() ? std::string() : std::strerror(error);
}

SaveOutcome saveWholeFile(const std::string& path, std::string_view bytes) {
    const std::string target = replacedFile(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return {SaveOutcome::Result::NotRegular, 0};
    }
    const std::size_t slash = target.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    std::string temporary = target.substr(0, nameAt) + "." + target.substr(nameAt) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return failed(errno);
    }
    mode_t mode = exists ? existing.st_mode & 07777 : 0;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const bool written = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int reason = written ? errno : error;
        ::unlink(temporary.c_str());
        return failed(reason);
    }
    return {};
}

}  // namespace tanabashigo
