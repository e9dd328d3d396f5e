#pragma once

#include <string>
#include <string_view>

namespace iwv {

// The host's data path less its last two backslash-separated components, with
// no trailing backslash; empty with fewer than two backslashes.
std::string DeriveWorkDirectory(std::string_view dataPath);

// The work directory followed by "\" and the file name.
std::string WorkFilePath(const std::string& workDirectory, std::string_view fileName);

}  // namespace iwv
