#include "driver/DriverRunner.h"

#include <algorithm>

namespace iwv {
namespace {

constexpr unsigned kPollMilliseconds = 100;

// The counter is compared for equality, so the limit must be one it reaches:
// 0 would come round only after 65536 polls and anything above 65535 never.
std::uint16_t PollLimit(std::uint32_t timeoutTicks) {
    return static_cast<std::uint16_t>(std::clamp<std::uint32_t>(timeoutTicks, 1, DriverRunner::kMaxTimeoutTicks));
}

}  // namespace

DriverRun DriverRunner::Run(const std::string& commandLine, std::uint32_t timeoutTicks,
                            const std::string& workDirectory) const {
    DriverRun run;
    const std::uint64_t started = services_.Milliseconds();
    std::unique_ptr<platform::DriverProcess> driver;
    run.startError = services_.StartDriver(commandLine, workDirectory, driver);
    if (run.startError || !driver) return run;
    const std::uint16_t limit = PollLimit(timeoutTicks);
    services_.Sleep(0);
    std::uint16_t ticks = 0;
    // The code is read before each sleep and judged after it, so a driver
    // that ends during the last sleep still counts as timed out.
    std::uint32_t exitCode = driver->ExitCode();
    while (exitCode == platform::kStillActive) {
        exitCode = driver->ExitCode();
        services_.Sleep(kPollMilliseconds);
        ++ticks;
        if (ticks == limit) {
            driver->Kill();
            run.end = DriverEnd::TimedOut;
            run.milliseconds = services_.Milliseconds() - started;
            return run;
        }
    }
    run.end = DriverEnd::Ended;
    run.exitCode = exitCode;
    run.milliseconds = services_.Milliseconds() - started;
    return run;
}

}  // namespace iwv
