#include "platform/FileSystem.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <vector>

#include "platform/BackgroundFlush.h"
#include "platform/InputFile.h"
#include "platform/PosixPath.h"

namespace iwv::platform {
namespace {

// Closes a descriptor on every path.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

class PosixReplacementFile final : public ReplacementFile {
public:
    PosixReplacementFile(std::string target, std::string temp, int fd)
        : target_(std::move(target)), temp_(std::move(temp)), fd_(fd) {}

    ~PosixReplacementFile() override {
        flush_.Finish();
        if (!committed_) {
            fd_.Close();
            ::unlink(temp_.c_str());
        }
    }

    bool Write(const char* data, std::size_t size) override {
        if (!WriteAll(fd_.Get(), data, size)) return false;
        flush_.Wrote(size);
        return true;
    }

    Status Commit() override {
        const bool flushed = flush_.Finish();
        if (!flushed || ::fsync(fd_.Get()) != 0 || !fd_.Close()) return Status::CannotWrite;
        if (::rename(temp_.c_str(), target_.c_str()) != 0) return Status::CannotCreate;
        committed_ = true;
        // The rename itself is durable only once the directory is on disk.
        Descriptor dir(::open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.Get() >= 0) ::fsync(dir.Get());
        return Status::Ok;
    }

private:
    std::string target_;
    std::string temp_;
    Descriptor fd_;
    BackgroundFlush flush_{[this] { return ::fdatasync(fd_.Get()) == 0; }};
    bool committed_ = false;
};

}  // namespace

bool RemoveFile(const std::string& path) { return ::unlink(PosixPath(path).c_str()) == 0; }

bool PathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(PosixPath(path).c_str(), &info) == 0;
}

bool FileCanBeOpenedForReading(const std::string& path) {
    std::FILE* file = std::fopen(PosixPath(path).c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return ::stat(PosixPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool DirectoryWritable(const std::string& path) {
    std::unique_ptr<ReplacementFile> probe;
    return ReplacementFile::Open(path + "/.iwvestra-probe", probe) == ReplacementFile::Status::Ok;
}

bool AppendToFile(const std::string& path, const char* data, std::size_t size) {
    Descriptor fd(::open(PosixPath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    return fd.Get() >= 0 && WriteAll(fd.Get(), data, size) && ::fsync(fd.Get()) == 0 && fd.Close();
}

bool EmptyFile(const std::string& path) {
    struct stat info {};
    const std::string file = PosixPath(path);
    return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::truncate(file.c_str(), 0) == 0;
}

bool CopyToNewFile(const std::string& from, const std::string& to) {
    const std::unique_ptr<InputFile> input = InputFile::OpenShared(from);
    if (!input) return false;
    const std::string target = PosixPath(to);
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0) return false;
    std::vector<char> block(InputFile::kBlockBytes);
    std::size_t read = 0;
    bool copied = true;
    while (copied && (copied = input->Read(block.data(), block.size(), read)) && read > 0)
        copied = WriteAll(fd.Get(), block.data(), read);
    if (copied && fd.Close()) return true;
    fd.Close();
    ::unlink(target.c_str());
    return false;
}

bool FileSize(const std::string& path, std::uint64_t& size) {
    struct stat info {};
    if (::stat(PosixPath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
    return ::rename(PosixPath(from).c_str(), PosixPath(to).c_str()) == 0;
}

bool MakeDirectory(const std::string& path) { return ::mkdir(PosixPath(path).c_str(), 0777) == 0; }

bool RemoveEmptyDirectory(const std::string& path) { return ::rmdir(PosixPath(path).c_str()) == 0; }

std::vector<DirectoryEntry> ListDirectory(const std::string& path) {
    std::vector<DirectoryEntry> entries;
    const std::string directory = PosixPath(path);
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        const bool isDirectory = ::lstat((directory + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.push_back({name, isDirectory});
    }
    ::closedir(dir);
    return entries;
}

ReplacementFile::Status ReplacementFile::Open(const std::string& path, std::unique_ptr<ReplacementFile>& file) {
    const std::string target = PosixPath(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A target that may not be written must not be replaced behind its back.
    if (exists && (S_ISDIR(existing.st_mode) || ::access(target.c_str(), W_OK) != 0)) return Status::CannotCreate;

    // A short name of its own, not the target's name with more added: that
    // would reach past NAME_MAX for a target whose name is near it.
    const std::string directory = DirectoryOf(target);
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp = directory + "/.iwv" + std::to_string(random() % 1000000u) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return Status::CannotCreate;
        if (exists) ::fchmod(fd, existing.st_mode & 07777);
        file = std::make_unique<PosixReplacementFile>(target, temp, fd);
        return Status::Ok;
    }
    return Status::CannotCreate;
}

// POSIX files have no share modes that refuse a rename, and the rename keeps
// the target's mode (copied at Open), so nothing more is needed.
ReplacementFile::Status ReplacementFile::OpenPreservingTarget(const std::string& target,
                                                              std::unique_ptr<ReplacementFile>& file) {
    return Open(target, file);
}

}  // namespace iwv::platform
