#pragma once

#include <cstdint>
#include <string>

#include "driver/OperationServices.h"

namespace iwv {

// How a driver run ended.
enum class DriverEnd {
    Ended,          // by itself, whatever its exit code
    CouldNotStart,  // the platform refused to start it
    TimedOut,       // still running at its time-out, and killed
};

struct DriverRun {
    DriverEnd end = DriverEnd::CouldNotStart;
    std::uint32_t exitCode = 0;         // when it ended by itself
    std::uint64_t milliseconds = 0;     // from the start to its end or its kill
    platform::SystemError startError;   // why it could not be started
    std::string program;                // the file the program search found for it
};

// Starts a driver program in the work directory and waits for it, polling
// every 100 ms, for at most timeoutTicks polls.
class DriverRunner {
public:
    // The longest wait in polls: the poll counter is 16 bits wide.
    static constexpr std::uint32_t kMaxTimeoutTicks = 65535;

    explicit DriverRunner(const OperationServices& services) : services_(services) {}

    // A timeoutTicks of 0 allows one poll, one above kMaxTimeoutTicks allows
    // kMaxTimeoutTicks polls: the wait is always bounded.
    DriverRun Run(const std::string& commandLine, std::uint32_t timeoutTicks, const std::string& workDirectory) const;

private:
    const OperationServices& services_;
};

}  // namespace iwv
