#pragma once

#include <cstdint>
#include <string>

namespace iwv::host {

// What a guarded call to the plug-in gave: its result, or the library error
// that ended it instead.
struct GuardedResult {
    bool raised = false;
    std::int32_t value = 0;
    std::string message;  // Windows-1250, when raised
};

// Calls call(argument) and catches the plug-in's structured exception the way
// an MSVC host's __try/__except would: the library's frames are unwound and the
// message is copied before anything else runs. Other exceptions pass on.
GuardedResult CallGuarded(std::int32_t (*call)(void* argument), void* argument);

}  // namespace iwv::host
