#include "TestDriverPlatform.h"

#include <windows.h>

namespace iwv::test {

std::string CommandLineText(int, char**) { return ::GetCommandLineA(); }

unsigned long CurrentProcessId() { return ::GetCurrentProcessId(); }

}  // namespace iwv::test
