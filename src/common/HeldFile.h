#pragma once

#include <functional>

#include "platform/SystemError.h"

namespace iwv {

// A scanner, a backup or a sync agent may hold a file just written for a
// moment without sharing it. A call on such a file is tried again, every
// kHeldRetryMilliseconds, while the file stays held, for at most
// kHeldWaitMilliseconds in all; any other outcome ends the wait.
constexpr unsigned kHeldRetryMilliseconds = 100;
constexpr unsigned kHeldWaitMilliseconds = 10000;

template <typename Call>
platform::SystemError WhileHeld(const std::function<void(unsigned milliseconds)>& sleep, Call&& call) {
    platform::SystemError error = call();
    for (unsigned waited = 0; error.Is(platform::SystemError::Kind::InUse) && waited < kHeldWaitMilliseconds;
         waited += kHeldRetryMilliseconds) {
        sleep(kHeldRetryMilliseconds);
        error = call();
    }
    return error;
}

}  // namespace iwv
