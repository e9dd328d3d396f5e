#include "ForcedEnd.h"

#include <signal.h>
#include <sys/types.h>

namespace iwv::test {

bool KillFromOutside(unsigned long pid) { return ::kill(static_cast<pid_t>(pid), SIGKILL) == 0; }

// The process layer reports a signal as a shell does: 128 plus its number.
std::uint32_t CrashExitCode() { return 128u + SIGSEGV; }

}  // namespace iwv::test
