#pragma once

#include <string>

namespace iwv::test {

// A path of the build machine as a Windows program under Wine names it: the
// Unix root is drive Z: and every separator a backslash.
inline std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace iwv::test
