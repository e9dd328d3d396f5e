#pragma once

// Plain readings of the line and file rules, for the fuzz targets to hold the
// library's fast ones against, and a scratch directory for the conversions.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace iwv::fuzz {

// CR LF, a lone CR or a lone LF ends a line, a NUL ends the text, and a line
// end at the very end opens no further line; byte by byte.
inline std::vector<std::string> ReferenceLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            current.push_back(c);
            open = true;
        }
    }
    if (open) lines.push_back(current);
    return lines;
}

// The lines of a file the library wrote: each ends with CR LF, and none holds
// a CR or an LF of its own.
inline std::vector<std::string> WrittenLines(std::string_view bytes, bool& wellFormed) {
    std::vector<std::string> lines;
    wellFormed = true;
    for (std::size_t end = bytes.find("\r\n"); !bytes.empty(); end = bytes.find("\r\n")) {
        if (end == std::string_view::npos) {
            wellFormed = false;
            return lines;
        }
        lines.emplace_back(bytes.substr(0, end));
        wellFormed = wellFormed && lines.back().find_first_of("\r\n") == std::string::npos;
        bytes.remove_prefix(end + 2);
    }
    return lines;
}

// A directory for the whole fuzzing run, in memory where there is /dev/shm,
// so that the conversions' flushes to disk cost nothing.
inline const std::filesystem::path& ScratchDirectory() {
    static const std::filesystem::path directory = [] {
        const bool shm = std::filesystem::is_directory("/dev/shm");
        std::string pattern = (shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
                              "iwv-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        return std::filesystem::path(pattern);
    }();
    return directory;
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) std::abort();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace iwv::fuzz
