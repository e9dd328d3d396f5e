#pragma once

#include <string>
#include <string_view>

namespace iwv {

// The host's data path less its last two backslash-separated components, with
// no trailing backslash but for a drive's root ("D:\"); empty with fewer than
// two backslashes.
std::string DeriveWorkDirectory(std::string_view dataPath);

// The file name inside a work directory (or a folder of it): the two joined
// by one backslash, as the host writes paths; "\inwin.txt" for the empty one.
std::string WorkFilePath(const std::string& workDirectory, std::string_view fileName);

}  // namespace iwv
