#include "common/Journal.h"

#include "platform/FileLock.h"
#include "platform/FileSystem.h"

namespace iwv {

bool Journal::Append(std::string_view entry) const {
    if (entry.size() > Bound()) return false;
    const std::unique_ptr<platform::FileLock> lock = Lock();
    std::uint64_t size = 0;
    if (!platform::FileSize(path_, size) || size == 0 || size + entry.size() <= limit_) return Write(entry);
    // Without the lock another process may be moving the file: it is left
    // where it is.
    if (lock && platform::RenameReplacing(path_, OlderPath())) return Write(entry);
    if (size + entry.size() <= Bound()) return Write(entry);
    return lock && platform::EmptyFile(path_) && Write(entry);
}

std::unique_ptr<platform::FileLock> Journal::Lock() const {
    using Status = platform::FileLock::Status;
    std::unique_ptr<platform::FileLock> lock;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (platform::FileLock::TryAcquire(LockPath(), lock) != Status::Busy) break;
        sleep_(kLockWaitMilliseconds);
    }
    return lock;
}

bool Journal::Write(std::string_view entry) const { return platform::AppendToFile(path_, entry.data(), entry.size()); }

}  // namespace iwv
