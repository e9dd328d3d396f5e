#include "BytePaths.h"

#include <sys/stat.h>

namespace iwv::test {

bool MakeDirectoryAt(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

}  // namespace iwv::test
