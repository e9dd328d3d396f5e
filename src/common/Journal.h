#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace iwv {

// A text file that only grows by whole entries and stays bounded: once an
// entry would take it past its limit, the file is renamed to path + ".1"
// (replacing the older one there) and a new file is begun.
class Journal {
public:
    static constexpr std::uint64_t kDefaultLimit = 1024 * 1024;

    explicit Journal(std::string path, std::uint64_t limit = kDefaultLimit)
        : path_(std::move(path)), limit_(limit) {}

    // Appends entry. False when it could not be written; a journal never
    // stops the work it records, so callers go on either way.
    bool Append(std::string_view entry) const;

    const std::string& Path() const { return path_; }
    std::string OlderPath() const { return path_ + ".1"; }

private:
    std::string path_;
    std::uint64_t limit_;
};

}  // namespace iwv
