#pragma once

#include <filesystem>
#include <string>

namespace iwv::test {

// Makes a file unwritable for as long as it lives, in a way that binds even a
// test run as root where the system offers one, and writable again when it
// goes.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::filesystem::path path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // False when the system offers no way that binds this process.
    bool Applied() const { return applied_; }
    const std::string& WhyNot() const { return reason_; }

private:
    std::filesystem::path path_;
    bool applied_ = false;
    std::string reason_;
};

}  // namespace iwv::test
