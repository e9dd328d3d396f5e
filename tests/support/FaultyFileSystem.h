#pragma once

// Beneath an operation, above its disk: counts every call the operation makes
// to the file system, and fails the one chosen, or cuts the power just
// before the chosen call that changes the disk. A test runs an operation once
// to count, then once for every point.

#include <cstddef>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "support/MemoryFileSystem.h"

namespace iwv::test {

class FaultyFileSystem final : public platform::FileSystem {
public:
    explicit FaultyFileSystem(MemoryFileSystem& disk) : disk_(disk) {}

    // The point-th call (from 1) fails: a write having written half its
    // bytes, for want of room; any other call without doing anything.
    void FailAt(std::size_t point) { failAt_ = point; }
    // The power goes just before the point-th call (from 1) that changes
    // something; every call from then on fails.
    void CutPowerAt(std::size_t point) { cutAt_ = point; }

    std::size_t Calls() const { return calls_; }
    std::size_t Changes() const { return changes_; }
    // The call the point hit, as "Rename <path>", for messages.
    const std::string& Hit() const { return hit_; }
    // The disk as the power cut left it; null when the power never went.
    const MemoryFileSystem* AfterPowerCut() const { return afterPowerCut_.get(); }

    // Where every call of this file system and of its files passes: the
    // error the call gives instead of doing anything, or none.
    platform::SystemError Pass(bool changes, platform::SystemError::Kind failure, const char* call,
                               const std::string& path);
    // Whether the point-th call was the one just passed, for writes to
    // fail part-way.
    bool FailingNow() const { return failingNow_; }

    platform::SystemError OpenForReading(const std::string& path, Sharing sharing,
                                         std::unique_ptr<platform::ReadableFile>& file) override;
    platform::SystemError CreateNew(const std::string& path, std::unique_ptr<platform::WritableFile>& file) override;
    platform::SystemError OpenForAppending(const std::string& path,
                                           std::unique_ptr<platform::WritableFile>& file) override;
    platform::SystemError OpenForOverwriting(const std::string& path,
                                             std::unique_ptr<platform::WritableFile>& file) override;
    platform::SystemError Status(const std::string& path, platform::FileStatus& status) override;
    platform::SystemError List(const std::string& directory, std::vector<platform::DirectoryEntry>& entries) override;
    platform::SystemError Remove(const std::string& path) override;
    platform::SystemError Rename(const std::string& from, const std::string& to) override;
    platform::SystemError Replace(const std::string& target, const std::string& replacement) override;
    platform::SystemError MakeDirectory(const std::string& path) override;
    platform::SystemError RemoveEmptyDirectory(const std::string& path) override;
    platform::SystemError FlushDirectory(const std::string& path) override;
    platform::SystemError Lock(const std::string& path, std::unique_ptr<platform::FileLock>& lock) override;

private:
    MemoryFileSystem& disk_;
    std::size_t failAt_ = 0;
    std::size_t cutAt_ = 0;
    std::size_t calls_ = 0;
    std::size_t changes_ = 0;
    bool failingNow_ = false;
    std::string hit_;
    std::unique_ptr<MemoryFileSystem> afterPowerCut_;
};

}  // namespace iwv::test
