#pragma once

#include <string>

namespace iwv::test {

// The command line as the driver received it: on Windows the system's text,
// elsewhere the arguments joined by single spaces.
std::string CommandLineText(int argc, char** argv);

unsigned long CurrentProcessId();

}  // namespace iwv::test
