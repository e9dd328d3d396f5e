#pragma once

#include <string>
#include <string_view>

namespace iwv {

// Paths are the host's texts: Windows paths with backslashes, where a forward
// slash is taken too, as Windows takes it.

// The folder part of path with its separator ("C:\Shop\", "C:", "\\"), ready
// for a name to follow; empty for a bare name, which lies in the current
// folder.
inline std::string FolderOf(std::string_view path) {
    const std::size_t end = path.find_last_of("\\/:");
    return end == std::string_view::npos ? std::string() : std::string(path.substr(0, end + 1));
}

// The last part of path, after its last separator.
inline std::string NameOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/:");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

// The folder a file system call names for path's folder.
inline std::string FolderToName(std::string_view path) {
    const std::string folder = FolderOf(path);
    return folder.empty() ? std::string(".") : folder;
}

}  // namespace iwv
