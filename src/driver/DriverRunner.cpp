#include "driver/DriverRunner.h"

#include <algorithm>

#include "driver/ConnectionError.h"
#include "platform/Clock.h"

namespace iwv {
namespace {

constexpr unsigned kPollMilliseconds = 100;

// The counter is compared for equality, so the limit must be one it reaches:
// 0 would come round only after 65536 polls and anything above 65535 never.
std::uint16_t PollLimit(std::uint32_t timeoutTicks) {
    return static_cast<std::uint16_t>(std::clamp<std::uint32_t>(timeoutTicks, 1, DriverRunner::kMaxTimeoutTicks));
}

}  // namespace

DriverRunner::Platform DriverRunner::SystemPlatform() {
    return Platform{&platform::DriverProcess::Start, &platform::SleepMilliseconds};
}

bool DriverRunner::Run(const std::string& commandLine, std::uint32_t timeoutTicks, const std::string& workDirectory,
                       const char* startFailureText, const HostCallbacks& host) const {
    const std::unique_ptr<platform::DriverProcess> driver = platform_.Start(commandLine, workDirectory);
    if (!driver) {
        host.ReportError(startFailureText);
        return false;
    }
    const std::uint16_t limit = PollLimit(timeoutTicks);
    platform_.Sleep(0);
    std::uint16_t ticks = 0;
    // The code is read before each sleep and judged after it, so a driver
    // that ends during the last sleep still counts as timed out.
    std::uint32_t exitCode = driver->ExitCode();
    while (exitCode == platform::kStillActive) {
        exitCode = driver->ExitCode();
        platform_.Sleep(kPollMilliseconds);
        ++ticks;
        if (ticks == limit) {
            driver->Kill();
            throw ConnectionError();
        }
    }
    return true;
}

}  // namespace iwv
