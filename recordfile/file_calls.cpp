#include "file_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tanabashigo {

int FileCalls::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
int FileCalls::close(int descriptor) {
    return ::close(descriptor);
}
int FileCalls::lstat(const char* path, struct stat* status) {
    return ::lstat(path, status);
}
int FileCalls::fstat(int descriptor, struct stat* status) {
    return ::fstat(descriptor, status);
}
int FileCalls::access(const char* path, int mode) {
    return ::access(path, mode);
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

}  // namespace tanabashigo
