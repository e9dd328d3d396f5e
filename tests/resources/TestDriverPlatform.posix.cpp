#include "TestDriverPlatform.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace iwv::test {

std::string CommandLineText(int argc, char** argv) {
    std::string text;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) text += ' ';
        text += argv[i];
    }
    return text;
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(::getpid()); }

void Crash() {
    ::signal(SIGSEGV, SIG_DFL);
    ::raise(SIGSEGV);
    std::abort();
}

}  // namespace iwv::test
