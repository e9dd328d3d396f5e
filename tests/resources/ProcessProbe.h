#pragma once

namespace iwv::test {

// True when the process with this id has ended and been cleaned up: outside
// Windows no process (zombies included) has the id any more; on Windows no
// process object has it, or the one that has it is signalled.
bool ProcessGone(unsigned long pid);

}  // namespace iwv::test
