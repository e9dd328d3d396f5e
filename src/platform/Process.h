#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace iwv::platform {

// The exit code a running process reports (STILL_ACTIVE on Windows).
constexpr std::uint32_t kStillActive = 259;

// A driver program started in a directory of its own. Destroying it releases
// everything the platform handed out for it; a process still running then is
// killed first, so that no driver outlives the operation that started it.
class DriverProcess {
public:
    // Starts commandLine with workDirectory as the current directory; null when
    // the platform refuses to start it (program not found, bad directory, ...).
    static std::unique_ptr<DriverProcess> Start(const std::string& commandLine, const std::string& workDirectory);

    virtual ~DriverProcess() = default;
    // The exit code, or kStillActive while the process runs.
    virtual std::uint32_t ExitCode() = 0;
    // Ends the process with exit code 0 and waits until it is gone.
    virtual void Kill() = 0;
};

// Where the platform's program search finds the program of a command line's
// first word; empty when it finds none.
std::string FindProgram(const std::string& name);

}  // namespace iwv::platform
