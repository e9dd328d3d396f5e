#include "driver/WorkDirectory.h"

namespace iwv {

std::string DeriveWorkDirectory(std::string_view dataPath) {
    // Characters go from the end up to and including the second backslash;
    // the path is never looked at on disk, and '/' is an ordinary character.
    std::string directory(dataPath);
    int backslashesLeft = 2;
    while (!directory.empty() && backslashesLeft > 0) {
        if (directory.back() == '\\') --backslashesLeft;
        directory.pop_back();
    }
    // A bare drive, "D:", is the current folder on that drive to Windows,
    // not its root: the files would go one place and the drivers run in
    // another.
    if (directory.size() == 2 && directory[1] == ':') directory += '\\';
    return directory;
}

std::string WorkFilePath(const std::string& workDirectory, std::string_view fileName) {
    std::string path = workDirectory;
    if (path.empty() || path.back() != '\\') path += '\\';
    path += fileName;
    return path;
}

}  // namespace iwv
