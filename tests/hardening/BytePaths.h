#pragma once

// Files named by paths taken byte for byte, as the host hands them to the
// library (Windows-1250, through the ANSI functions on Windows): nothing here
// converts a path to another code page on the way.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace iwv::test {

// Creates one directory; false when it cannot.
bool MakeDirectoryAt(const std::string& path);

inline bool WriteAt(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// The file's bytes, or nothing when it cannot be opened.
inline std::optional<std::string> ReadAt(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

}  // namespace iwv::test
