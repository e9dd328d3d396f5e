#pragma once

#include <string>

namespace iwv::test {

// The command line as the driver received it: on Windows the system's text,
// elsewhere the arguments joined by single spaces.
std::string CommandLineText(int argc, char** argv);

unsigned long CurrentProcessId();

// Ends the program as a crash does: by SIGSEGV outside Windows, by an access
// violation on Windows, with no error dialog or debugger in the way.
[[noreturn]] void Crash();

}  // namespace iwv::test
