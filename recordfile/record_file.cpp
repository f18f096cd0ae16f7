#include "record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

namespace tanabashigo {

namespace {

constexpr std::size_t kReadBytes = 1 << 16;

RecordError fileError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return {0, "ファイルがありません。", "the file does not exist"};
        case EACCES:
        case EPERM:
            return {0, "ファイルを読む許可がありません。", "permission to read it is denied"};
        default:
            return {0, std::string("ファイルを読めません（") + std::strerror(error) + "）。",
                    std::string("it cannot be read: ") + std::strerror(error)};
    }
}

}  // namespace

RecordRead readRecordFile(const std::string& path,
                          const std::function<bool(std::uint64_t, std::uint64_t)>& progress) {
    // Not blocking: a FIFO with no writer, or a device, is answered at once.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return fileError(errno);
    }
    struct stat status {};
    const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    RecordReader reader;
    std::vector<char> buffer(regular ? kReadBytes : 0);
    std::uint64_t done = 0;
    std::optional<RecordError> failed;
    if (!regular) {
        failed = RecordError{0, "ふつうのファイルではありません（フォルダー、FIFO、装置など）。",
                             "not a regular file (a folder, a FIFO or a device)"};
    }
    while (!failed) {
        const ssize_t got = ::read(descriptor, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failed = fileError(errno);
        } else if (got == 0 || !reader.read({buffer.data(), std::size_t(got)})) {
            break;
        } else if (done += std::uint64_t(got);
                   progress && !progress(done, std::uint64_t(status.st_size))) {
            failed = RecordError{0, "読むのをやめました。", "the reading was stopped"};
        }
    }
    ::close(descriptor);
    if (failed) {
        return *failed;
    }
    return reader.finish();
}

}  // namespace tanabashigo
