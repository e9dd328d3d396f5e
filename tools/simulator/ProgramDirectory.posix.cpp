#include <unistd.h>

#include "SimulatorControl.h"

namespace iwv::simulator {

std::string ProgramDirectory() {
    char path[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t slash = self.find_last_of('/');
    return slash == std::string::npos ? "." : self.substr(0, slash);
}

}  // namespace iwv::simulator
