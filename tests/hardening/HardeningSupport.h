#pragma once

// Small things every hardening suite needs.

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

#include "common/Error.h"
#include "support/ErrorOf.h"

namespace iwv::test {

// How many entries a directory holds, hidden ones included. Names are not
// converted, so that names in any code page count.
inline std::size_t EntryCount(const std::filesystem::path& directory) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()));
}

// The library's own byte-for-byte texts for paths: directory and name joined
// by the platform's separator, without any code page conversion.
inline std::string Join(const std::filesystem::path& directory, const std::string& name) {
    return directory.string() + static_cast<char>(std::filesystem::path::preferred_separator) + name;
}

// The process's current directory for as long as it lives.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::filesystem::path& directory) : old_(std::filesystem::current_path()) {
        std::error_code error;
        std::filesystem::current_path(directory, error);
        changed_ = !error;
    }
    ~CurrentDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(old_, ignored);
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    bool Changed() const { return changed_; }

private:
    std::filesystem::path old_;
    bool changed_ = false;
};

}  // namespace iwv::test
