#pragma once

#include <memory>
#include <string>

#include "platform/Process.h"

namespace iwv::test {

// A driver started as the library starts one; null when it could not be.
inline std::unique_ptr<platform::DriverProcess> StartedDriver(const std::string& commandLine,
                                                              const std::string& workDirectory) {
    std::unique_ptr<platform::DriverProcess> process;
    platform::DriverProcess::Start(commandLine, workDirectory, process);
    return process;
}

}  // namespace iwv::test
