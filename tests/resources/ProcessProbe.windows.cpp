#include "ProcessProbe.h"

#include <windows.h>

namespace iwv::test {

bool ProcessGone(unsigned long pid) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return true;
    const bool signalled = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return signalled;
}

}  // namespace iwv::test
