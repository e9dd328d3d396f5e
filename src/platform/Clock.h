#pragma once

namespace iwv::platform {

// Blocks the calling thread for the given time; 0 gives up the rest of the
// thread's time slice.
void SleepMilliseconds(unsigned milliseconds);

}  // namespace iwv::platform
