#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "platform/FileSystem.h"

namespace iwv::test {

// A shop whose data directory, Shop/Data, lies on a disk that is full after
// kCapacity bytes, while Shop itself, the work directory, has room. Where the
// system lets the test mount file systems, Data is a tmpfs of that size;
// elsewhere it is an ordinary directory and Opener() gives every replacement
// file that much room instead.
class FullDisk {
public:
    static constexpr std::size_t kCapacity = 64 * 1024;

    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    std::filesystem::path Root() const { return root_.Path(); }
    std::filesystem::path Shop() const { return root_.Path() / "Shop"; }
    std::filesystem::path Data() const { return Shop() / "Data"; }
    // How files saved into Data must be opened for the disk to be full.
    const platform::ReplacementFile::Opener& Opener() const { return opener_; }
    // True when Data is a real small file system, so that saves that do not
    // go through Opener() fill it too.
    bool Real() const { return mounted_; }
    // Why Data is not a real small file system.
    const std::string& WhyNotReal() const { return reason_; }

private:
    TempDir root_;
    bool mounted_ = false;
    std::string reason_;
    platform::ReplacementFile::Opener opener_;
};

}  // namespace iwv::test
