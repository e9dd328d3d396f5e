#pragma once

#include <memory>
#include <string>

namespace iwv::platform {

// A lock that one process at a time holds, named by a path beside what it
// guards. The file at that path exists only while someone holds the lock, and
// a process that dies holding it lets go of it with its last handle.
class FileLock {
public:
    enum class Status { Held, Busy, Failed };

    // Takes the lock without waiting: Held (and lock set), Busy while another
    // holds it, Failed when its file cannot be made at all.
    static Status TryAcquire(const std::string& path, std::unique_ptr<FileLock>& lock);

    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Lets go of the lock.
    virtual ~FileLock() = default;
};

}  // namespace iwv::platform
