#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace iwv {

namespace platform {
class FileLock;
}

// A text file that only grows by whole entries and stays bounded: once an
// entry would take it past its limit, the file is renamed to path + ".1"
// (replacing the older one there) and a new file is begun. Where it cannot be
// renamed (the older file is read-only, or someone holds this one against
// deletion), it grows on to twice its limit and is then begun anew, so that
// it never holds more whatever happens. One process at a time appends: two
// that both renamed would put the one's new file over the other's history.
class Journal {
public:
    static constexpr std::uint64_t kDefaultLimit = 1024 * 1024;
    // How often and how long an append waits for another process's append.
    static constexpr int kLockAttempts = 40;
    static constexpr unsigned kLockWaitMilliseconds = 50;

    using Sleep = std::function<void(unsigned milliseconds)>;

    // sleep is how an append waits for another one.
    Journal(std::string path, Sleep sleep, std::uint64_t limit = kDefaultLimit)
        : path_(std::move(path)), sleep_(std::move(sleep)), limit_(limit) {}

    // Appends entry and waits until it is on disk. False when it could not be
    // written; a journal never stops the work it records, so callers go on
    // either way.
    bool Append(std::string_view entry) const;

    const std::string& Path() const { return path_; }
    std::string OlderPath() const { return path_ + ".1"; }
    // Held while an append runs; there only then.
    std::string LockPath() const { return path_ + ".lock"; }
    // The most the file ever holds.
    std::uint64_t Bound() const { return 2 * limit_; }

private:
    // Null when the lock cannot be had, for being held too long by another
    // process or for a directory where it cannot be made.
    std::unique_ptr<platform::FileLock> Lock() const;
    bool Write(std::string_view entry) const;

    std::string path_;
    Sleep sleep_;
    std::uint64_t limit_;
};

}  // namespace iwv
