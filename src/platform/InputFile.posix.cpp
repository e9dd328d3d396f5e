#include "platform/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PosixPath.h"

namespace iwv::platform {
namespace {

// POSIX has no share modes: another process may write the file while it is
// read, and nothing here can refuse it.
class PosixInputFile final : public InputFile {
public:
    explicit PosixInputFile(int fd) : fd_(fd) {}
    ~PosixInputFile() override { ::close(fd_); }
    PosixInputFile(const PosixInputFile&) = delete;
    PosixInputFile& operator=(const PosixInputFile&) = delete;

    bool Read(char* data, std::size_t capacity, std::size_t& read) override {
        return Done(read, [&] { return ::read(fd_, data, capacity); });
    }
    bool ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) override {
        return Done(read, [&] { return ::pread(fd_, data, capacity, static_cast<off_t>(offset)); });
    }

private:
    // Runs a read again when a signal interrupted it.
    template <typename ReadCall>
    static bool Done(std::size_t& read, ReadCall call) {
        for (;;) {
            const ssize_t n = call();
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            read = static_cast<std::size_t>(n);
            return true;
        }
    }

    int fd_;
};

}  // namespace

std::unique_ptr<InputFile> InputFile::Open(const std::string& path) {
    const int fd = ::open(PosixPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::make_unique<PosixInputFile>(fd);
}

// Nothing to share or refuse here: every open is shared.
std::unique_ptr<InputFile> InputFile::OpenShared(const std::string& path) { return Open(path); }

}  // namespace iwv::platform
