#include "ProcessProbe.h"

#include <signal.h>
#include <sys/types.h>

#include <cerrno>

namespace iwv::test {

bool ProcessGone(unsigned long pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

}  // namespace iwv::test
