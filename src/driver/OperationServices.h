#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace iwv {

// What an export or import takes from the machine: time, driver processes
// and every file it touches. The system's by default; tests put their own
// in, so that they never wait for real and still see every pause, and can
// fail any call to the file system or lose what a power cut would.
struct OperationServices {
    std::function<void(unsigned milliseconds)> Sleep;
    // Milliseconds that never go back, for how long a driver ran.
    std::function<std::uint64_t()> Milliseconds;
    std::function<platform::LocalTime()> Now;
    std::function<platform::SystemError(const std::string& commandLine, const std::string& workDirectory,
                                        std::unique_ptr<platform::DriverProcess>& started)>
        StartDriver;
    // Never null.
    platform::FileSystem* Files = nullptr;

    static OperationServices System();
};

}  // namespace iwv
