#pragma once

// A disk in memory beneath the library's operations, for proving them safe
// at every point where a real one could fail or lose power. It keeps, for
// every file and folder, what it holds now and what would survive a power
// cut: a file's bytes once flushed, a folder's list once the folder is
// flushed. It can run out of room (reserving room for a file's length or not,
// as sparse files and some network shares do not), and other programs can
// hold its files as a host, a scanner or a backup agent holds them.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace iwv::test {

class MemoryFileSystem final : public platform::FileSystem {
public:
    struct Node;
    using NodePtr = std::shared_ptr<Node>;

    // How another program holds a file.
    enum class Hold {
        AgainstDeletion,  // open for reading and writing, sharing both: a host showing its count file
        Exclusive,        // open without sharing: a scanner or a backup agent
    };

    MemoryFileSystem();

    // For the test's own set-up and checks, beside the library's calls: a
    // file put there on disk (its folders made), what a file holds now, and
    // the files under a folder, by their paths below it.
    void Put(const std::string& path, const std::string& bytes);
    std::optional<std::string> Get(const std::string& path) const;
    std::map<std::string, std::string> FilesUnder(const std::string& folder) const;
    void MakeFolders(const std::string& path);

    // Another program holds path until clock() reaches until (for good
    // without a clock).
    void HoldFile(const std::string& path, Hold hold, std::uint64_t until = UINT64_MAX);
    void SetClock(std::function<std::uint64_t()> clock) { clock_ = std::move(clock); }
    // The folder (and what is made in it from now on) lies on a disk of its
    // own, with room for this many bytes of files; sparse: a file's length
    // takes room only where it is written.
    void SetCapacity(const std::string& folder, std::uint64_t bytes, bool sparse);

    // The disk as it comes back after the power was cut now.
    std::unique_ptr<MemoryFileSystem> AfterPowerCut() const;

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

    // Room for a file's first end bytes, or as much of it as there is; for
    // its writing handles.
    platform::SystemError Allocate(Node& file, std::uint64_t end);
    platform::SystemError Resize(Node& file, std::uint64_t size);

private:
    struct Found {
        NodePtr parent;
        std::string name;
        NodePtr node;  // null when there is none of that name
    };
    Found Find(const std::string& path) const;
    std::optional<Hold> HeldAs(const Node& node) const;
    std::uint64_t Used() const;

    NodePtr NewNodeIn(const NodePtr& parent, bool directory) const;

    NodePtr root_;
    std::function<std::uint64_t()> clock_;
    NodePtr smallDisk_;
    std::optional<std::uint64_t> capacity_;
    bool sparse_ = false;
    std::set<std::string> locks_;
};

}  // namespace iwv::test
