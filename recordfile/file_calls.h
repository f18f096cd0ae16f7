#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace tanabashigo {

/// The system calls the record writer makes, one virtual function each, so that a test can
/// make any of them fail as a full disk or a failing drive would. Each answers as the call does.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual int close(int descriptor);
    /// What is at `path` itself: a symbolic link is not followed.
    virtual int lstat(const char* path, struct stat* status);
    virtual int fstat(int descriptor, struct stat* status);
    virtual int access(const char* path, int mode);
    virtual int flock(int descriptor, int operation);
    virtual ssize_t pread(int descriptor, void* buffer, std::size_t size, off_t offset);
    virtual ssize_t write(int descriptor, const void* data, std::size_t size);
    virtual int fsync(int descriptor);
    virtual int ftruncate(int descriptor, off_t size);
    /// The calls as the system makes them.
    static FileCalls& system();
};

}  // namespace tanabashigo
