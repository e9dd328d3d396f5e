#include "ReadOnlyFile.h"

#include <windows.h>

namespace iwv::test {

ReadOnlyFile::ReadOnlyFile(std::filesystem::path path) : path_(std::move(path)) {
    applied_ = ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY) != 0;
    if (!applied_) reason_ = "SetFileAttributesW failed with " + std::to_string(::GetLastError());
}

ReadOnlyFile::~ReadOnlyFile() { ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }

}  // namespace iwv::test
