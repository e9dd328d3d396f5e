#include "Console.h"

#include "platform/Console.h"

namespace iwv::host {

// Through a pipe or into a file the host's output is UTF-8, for the tests
// and the demo that read it on Linux.
void PrintCp1250(const std::string& text) { platform::WriteText(platform::StandardStream::Output, text, true); }

void Print(const std::string& text) { platform::WriteText(platform::StandardStream::Output, text); }

void PrintError(const std::string& text) { platform::WriteText(platform::StandardStream::Error, text); }

}  // namespace iwv::host
