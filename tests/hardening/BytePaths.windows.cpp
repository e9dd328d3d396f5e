#include "BytePaths.h"

#include <windows.h>

namespace iwv::test {

bool MakeDirectoryAt(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

}  // namespace iwv::test
