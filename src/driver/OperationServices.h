#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace iwv {

// What an export or import takes from the machine besides files it only
// reads: time, driver processes and the durable replacement of files. The
// system's by default; tests put their own in, so that they never wait for
// real and still see every pause.
struct OperationServices {
    std::function<void(unsigned milliseconds)> Sleep;
    // Milliseconds that never go back, for how long a driver ran.
    std::function<std::uint64_t()> Milliseconds;
    std::function<platform::LocalTime()> Now;
    std::function<std::unique_ptr<platform::DriverProcess>(const std::string& commandLine,
                                                           const std::string& workDirectory)>
        StartDriver;
    platform::ReplacementFile::Opener ReplaceFile;

    static OperationServices System();
};

}  // namespace iwv
