#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/PosixPath.h"

namespace iwv::platform {
namespace {

SystemError Ok() { return {}; }

// The error of a call that returned result, read from errno when it failed.
SystemError Checked(int result) { return result == 0 ? Ok() : LastSystemError(); }

// Runs a read or write again when a signal interrupted it.
template <typename Call>
ssize_t Retried(Call call) {
    ssize_t n;
    do {
        n = call();
    } while (n < 0 && errno == EINTR);
    return n;
}

// POSIX has no share modes: another process may write a file while it is
// read, and nothing here can refuse it.
class PosixReadableFile final : public ReadableFile {
public:
    explicit PosixReadableFile(int fd) : fd_(fd) {}
    ~PosixReadableFile() override { ::close(fd_); }
    PosixReadableFile(const PosixReadableFile&) = delete;
    PosixReadableFile& operator=(const PosixReadableFile&) = delete;

    SystemError Read(char* data, std::size_t capacity, std::size_t& read) override {
        return Done(read, Retried([&] { return ::read(fd_, data, capacity); }));
    }
    SystemError ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) override {
        return Done(read, Retried([&] { return ::pread(fd_, data, capacity, static_cast<off_t>(offset)); }));
    }

private:
    static SystemError Done(std::size_t& read, ssize_t n) {
        if (n < 0) return LastSystemError();
        read = static_cast<std::size_t>(n);
        return Ok();
    }

    int fd_;
};

class PosixWritableFile final : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}
    ~PosixWritableFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    PosixWritableFile(const PosixWritableFile&) = delete;
    PosixWritableFile& operator=(const PosixWritableFile&) = delete;

    SystemError Write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = Retried([&] { return ::write(fd_, data, size); });
            if (n < 0) return LastSystemError();
            if (n == 0) return {SystemError::Kind::DiskFull, ENOSPC};
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return Ok();
    }
    SystemError SetLength(std::uint64_t size) override {
        return Checked(::ftruncate(fd_, static_cast<off_t>(size)));
    }
    SystemError Flush() override { return Checked(::fsync(fd_)); }
    SystemError FlushAside() override { return Checked(::fdatasync(fd_)); }
    SystemError Close() override {
        const int fd = fd_;
        fd_ = -1;
        return Checked(::close(fd));
    }

private:
    int fd_;
};

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

SystemError Opened(int fd, std::unique_ptr<WritableFile>& file) {
    if (fd < 0) return LastSystemError();
    file = std::make_unique<PosixWritableFile>(fd);
    return Ok();
}

class PosixFileSystem final : public FileSystem {
public:
    SystemError OpenForReading(const std::string& path, Sharing, std::unique_ptr<ReadableFile>& file) override {
        const int fd = ::open(PosixPath(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return LastSystemError();
        struct stat info {};
        if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            ::close(fd);
            return {SystemError::Kind::Denied, EISDIR};
        }
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        file = std::make_unique<PosixReadableFile>(fd);
        return Ok();
    }

    SystemError CreateNew(const std::string& path, std::unique_ptr<WritableFile>& file) override {
        return Opened(::open(PosixPath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), file);
    }
    SystemError OpenForAppending(const std::string& path, std::unique_ptr<WritableFile>& file) override {
        return Opened(::open(PosixPath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666), file);
    }
    SystemError OpenForOverwriting(const std::string& path, std::unique_ptr<WritableFile>& file) override {
        return Opened(::open(PosixPath(path).c_str(), O_WRONLY | O_CLOEXEC), file);
    }

    SystemError Status(const std::string& path, FileStatus& status) override {
        const std::string file = PosixPath(path);
        struct stat info {};
        if (::stat(file.c_str(), &info) != 0) return LastSystemError();
        status.directory = S_ISDIR(info.st_mode);
        status.readOnly = ::access(file.c_str(), W_OK) != 0;
        status.size = static_cast<std::uint64_t>(info.st_size);
        return Ok();
    }

    SystemError List(const std::string& path, std::vector<DirectoryEntry>& entries) override {
        const std::string directory = PosixPath(path);
        DIR* dir = ::opendir(directory.c_str());
        if (dir == nullptr) return LastSystemError();
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            struct stat info {};
            const bool isDirectory = ::lstat((directory + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
            entries.push_back({name, isDirectory});
        }
        ::closedir(dir);
        return Ok();
    }

    SystemError Remove(const std::string& path) override { return Checked(::unlink(PosixPath(path).c_str())); }
    SystemError Rename(const std::string& from, const std::string& to) override {
        return Checked(::rename(PosixPath(from).c_str(), PosixPath(to).c_str()));
    }
    // A rename keeps the replacement's own mode, so it takes the target's
    // first; nothing here holds a file against its replacement.
    SystemError Replace(const std::string& target, const std::string& replacement) override {
        struct stat info {};
        if (::stat(PosixPath(target).c_str(), &info) == 0) ::chmod(PosixPath(replacement).c_str(), info.st_mode & 07777);
        return Rename(replacement, target);
    }
    SystemError MakeDirectory(const std::string& path) override {
        return Checked(::mkdir(PosixPath(path).c_str(), 0777));
    }
    SystemError RemoveEmptyDirectory(const std::string& path) override { return Checked(::rmdir(PosixPath(path).c_str())); }
    SystemError FlushDirectory(const std::string& path) override {
        const int fd = ::open(PosixPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return LastSystemError();
        const SystemError flushed = Checked(::fsync(fd));
        ::close(fd);
        return flushed;
    }

    SystemError Lock(const std::string& lockPath, std::unique_ptr<FileLock>& lock) override {
        const std::string path = PosixPath(lockPath);
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return LastSystemError();
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const SystemError error = LastSystemError();
            ::close(fd);
            return error;
        }
        if (!StillThere(fd, path)) {
            ::close(fd);
            return {SystemError::Kind::InUse, EWOULDBLOCK};
        }
        lock = std::make_unique<PosixFileLock>(path, fd);
        return Ok();
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}

}  // namespace iwv::platform
