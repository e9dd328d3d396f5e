#include "ForcedEnd.h"

#include <windows.h>

namespace iwv::test {

bool KillFromOutside(unsigned long pid) {
    const HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    if (!process) return false;
    const bool killed = ::TerminateProcess(process, 1) != 0;
    ::CloseHandle(process);
    return killed;
}

std::uint32_t CrashExitCode() { return EXCEPTION_ACCESS_VIOLATION; }

}  // namespace iwv::test
