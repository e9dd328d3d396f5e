#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/SystemError.h"

namespace iwv::platform {

// The exit code a running process reports (STILL_ACTIVE on Windows).
constexpr std::uint32_t kStillActive = 259;

// A driver program started in a directory of its own. Destroying it releases
// everything the platform handed out for it; a process still running then is
// killed first, so that no driver outlives the operation that started it.
class DriverProcess {
public:
    // Starts commandLine with workDirectory as the current directory; the
    // system's error when it refuses (program not found, bad directory, ...).
    //
    // On Windows the command line goes to the system as it is and the system
    // finds the program. Elsewhere the first word names the program, looked up
    // with FindProgram, and the rest of the line after the first space is its
    // one argument; an empty work directory is refused there.
    static SystemError Start(const std::string& commandLine, const std::string& workDirectory,
                             std::unique_ptr<DriverProcess>& started);

    DriverProcess() = default;
    DriverProcess(const DriverProcess&) = delete;
    DriverProcess& operator=(const DriverProcess&) = delete;
    virtual ~DriverProcess() = default;

    // The exit code, or kStillActive while the process runs. Outside Windows
    // a process ended by a signal reports 128 plus the signal number.
    virtual std::uint32_t ExitCode() = 0;
    // Ends the process (with exit code 0 on Windows) and waits until it is
    // gone, so that it no longer touches the work directory.
    virtual void Kill() = 0;
};

// Where the platform's program search finds the program named by a command
// line's first word; empty when it finds none. On Windows ".exe" is added to
// a name without an extension.
std::string FindProgram(const std::string& name);

}  // namespace iwv::platform
