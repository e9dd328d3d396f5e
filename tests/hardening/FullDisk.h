#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "TestFiles.h"

namespace iwv::test {

// A shop whose data directory, Shop/Data, is a real disk that is full after
// kCapacity bytes (a tmpfs of that size), while Shop itself, the work
// directory, has room. Where the system does not let the test mount one,
// Real() is false and the test says why it did not run.
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
    bool Real() const { return mounted_; }
    // Why Data is not a small file system.
    const std::string& WhyNotReal() const { return reason_; }

private:
    TempDir root_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace iwv::test
