#pragma once

#include <algorithm>
#include <string>

namespace iwv::platform {

// The library builds Windows paths: the work directory and its files come from
// the host's data path by backslashes. On POSIX, where the library runs for
// tests and tools, a backslash is read as the directory separator, so that
// the same paths name the same directories here. Only the POSIX
// implementations include this header.
inline std::string PosixPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace iwv::platform
