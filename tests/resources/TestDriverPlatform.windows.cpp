#include "TestDriverPlatform.h"

#include <windows.h>

namespace iwv::test {

std::string CommandLineText(int, char**) { return ::GetCommandLineA(); }

unsigned long CurrentProcessId() { return ::GetCurrentProcessId(); }

namespace {

// Ends the process with the exception's code, as a crash does on a system
// that shows no error dialog; otherwise Wine would start its debugger first.
LONG WINAPI EndWithTheExceptionCode(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

}  // namespace

void Crash() {
    ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(&EndWithTheExceptionCode);
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    ::ExitProcess(EXCEPTION_ACCESS_VIOLATION);
}

}  // namespace iwv::test
