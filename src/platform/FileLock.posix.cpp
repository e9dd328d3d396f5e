#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PosixPath.h"

namespace iwv::platform {
namespace {

class PosixFileLock final : public FileLock {
public:
    PosixFileLock(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    // Removed while still locked, so that whoever opened it meanwhile finds
    // it gone and takes a new one.
    ~PosixFileLock() override {
        ::unlink(path_.c_str());
        ::close(fd_);
    }

private:
    std::string path_;
    int fd_;
};

// True when fd is still the file at path, not one removed from it since.
bool StillThere(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

}  // namespace

FileLock::Status FileLock::TryAcquire(const std::string& lockPath, std::unique_ptr<FileLock>& lock) {
    const std::string path = PosixPath(lockPath);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Status::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Status::Busy : Status::Failed;
    }
    if (!StillThere(fd, path)) {
        ::close(fd);
        return Status::Busy;
    }
    lock = std::make_unique<PosixFileLock>(path, fd);
    return Status::Held;
}

}  // namespace iwv::platform
