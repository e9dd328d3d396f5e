#include <windows.h>

#include "SimulatorControl.h"

namespace iwv::simulator {

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    const std::string self(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    const std::size_t slash = self.find_last_of("\\/");
    return slash == std::string::npos ? "." : self.substr(0, slash);
}

}  // namespace iwv::simulator
