#pragma once

#include <cstdint>

namespace iwv::platform {

// Blocks the calling thread for the given time; 0 gives up the rest of the
// thread's time slice.
void SleepMilliseconds(unsigned milliseconds);

// Milliseconds from an arbitrary start that never goes back; for measuring how
// long something took.
std::uint64_t MonotonicMilliseconds();

// A moment of the machine's local time, to the second.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The machine's local time now.
LocalTime LocalNow();

}  // namespace iwv::platform
