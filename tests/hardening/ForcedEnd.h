#pragma once

#include <cstdint>

// Ends of a process that are not its own choice.

namespace iwv::test {

// Ends another process by its id, as a user or another program would; false
// when the system refuses.
bool KillFromOutside(unsigned long pid);

// The exit code the process layer reports for a program that crashed the way
// the test driver crashes.
std::uint32_t CrashExitCode();

}  // namespace iwv::test
