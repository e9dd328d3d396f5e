#include "ReadOnlyFile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace iwv::test {
namespace {

// Sets or clears the immutable attribute (chattr +i), which binds root too.
bool SetImmutable(const std::filesystem::path& path, bool immutable, std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::string("cannot open the file: ") + std::strerror(errno);
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!done) reason = std::string("the immutable attribute cannot be set here: ") + std::strerror(errno);
    ::close(fd);
    return done;
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(std::filesystem::path path) : path_(std::move(path)) {
    applied_ = SetImmutable(path_, true, reason_);
    if (applied_) return;
    // Without the attribute, permissions bind every user but root.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                            std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    applied_ = ::access(path_.c_str(), W_OK) != 0;
    if (!applied_) reason_ += "; permissions do not bind this user (root)";
}

ReadOnlyFile::~ReadOnlyFile() {
    std::string ignored;
    SetImmutable(path_, false, ignored);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

}  // namespace iwv::test
