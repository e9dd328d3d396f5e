#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "plugin/HostCallbacks.h"
#include "platform/Process.h"

namespace iwv {

// Starts a driver program in the work directory and waits for it, polling
// every 100 ms, for at most TimeoutTicks polls.
class DriverRunner {
public:
    // How the runner starts processes and waits; the platform's by default,
    // something else in tests that count polls.
    struct Platform {
        std::function<std::unique_ptr<platform::DriverProcess>(const std::string& commandLine,
                                                               const std::string& workDirectory)>
            Start;
        std::function<void(unsigned milliseconds)> Sleep;
    };
    static Platform SystemPlatform();

    // The longest wait in polls: the poll counter is 16 bits wide.
    static constexpr std::uint32_t kMaxTimeoutTicks = 65535;

    DriverRunner() : DriverRunner(SystemPlatform()) {}
    explicit DriverRunner(Platform platform) : platform_(std::move(platform)) {}

    // True when the driver ended by itself (whatever its exit code); false,
    // after host.ReportError(startFailureText), when it could not be started.
    // A driver still running after timeoutTicks polls is killed and
    // ConnectionError is thrown. A timeoutTicks of 0 allows one poll, one
    // above kMaxTimeoutTicks allows kMaxTimeoutTicks polls: the wait is always
    // bounded.
    bool Run(const std::string& commandLine, std::uint32_t timeoutTicks, const std::string& workDirectory,
             const char* startFailureText, const HostCallbacks& host) const;

private:
    Platform platform_;
};

}  // namespace iwv
