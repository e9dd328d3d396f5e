#include "FullDisk.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace iwv::test {

FullDisk::FullDisk() {
    std::filesystem::create_directories(Data());
    const std::string options = "size=" + std::to_string(kCapacity) + ",mode=0755";
    mounted_ = ::mount("tmpfs", Data().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!mounted_) reason_ = std::string("mounting a tmpfs was refused: ") + std::strerror(errno);
}

FullDisk::~FullDisk() {
    // Lazily, so that a file some failed test left open cannot keep the mount.
    if (mounted_) ::umount2(Data().c_str(), MNT_DETACH);
}

}  // namespace iwv::test
