#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace iwv {

// A text file that only grows by whole entries and stays bounded: once an
// entry would take it past its limit, the file is renamed to path + ".1"
// (replacing the older one there) and a new file is begun. Where it cannot be
// renamed (the older file is read-only, or someone holds this one against
// deletion), it grows on to twice its limit and is then begun anew, so that
// it never holds more whatever happens. One process at a time appends: the
// caller holds what orders them (the work directory's lock).
class Journal {
public:
    static constexpr std::uint64_t kDefaultLimit = 1024 * 1024;

    Journal(platform::FileSystem& files, std::string path, std::uint64_t limit = kDefaultLimit)
        : files_(files), path_(std::move(path)), limit_(limit) {}

    // Appends entry and waits until it is on disk. False when it could not be
    // written; a journal never stops the work it records, so callers go on
    // either way.
    bool Append(std::string_view entry) const;

    const std::string& Path() const { return path_; }
    std::string OlderPath() const { return path_ + ".1"; }
    // The most the file ever holds.
    std::uint64_t Bound() const { return 2 * limit_; }

private:
    bool Write(std::string_view entry) const;
    bool Empty() const;

    platform::FileSystem& files_;
    std::string path_;
    std::uint64_t limit_;
};

}  // namespace iwv
