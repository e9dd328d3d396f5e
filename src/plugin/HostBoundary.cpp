#include "plugin/HostBoundary.h"

#include <cstring>

#include "IWVestra.h"
#include "common/Error.h"
#include "platform/StructuredException.h"

namespace iwv {
namespace {

constexpr std::size_t kMessageCapacity = 4096;

// Copies what fits, always NUL-terminated; a message is never so long in
// practice, but a path from the host may be.
void Keep(char* buffer, const char* message) {
    std::strncpy(buffer, message, kMessageCapacity - 1);
    buffer[kMessageCapacity - 1] = '\0';
}

}  // namespace

std::int32_t RunAtHostBoundary(std::int32_t (*body)(void*), void* context) {
    // The message outlives the call: the host reads it in its handler, after
    // the library's frames are gone. One buffer per thread keeps concurrent
    // calls apart.
    static thread_local char message[kMessageCapacity];
    bool failed = false;
    try {
        return body(context);
    } catch (...) {
        if (!platform::HostTakesStructuredExceptions()) throw;
        Keep(message, CurrentFailureText());
        failed = true;
    }
    // Raised outside the handlers, so that the C++ exception object and every
    // object of the call are destroyed before the host takes over.
    if (failed) platform::RaiseStructuredException(IWV_LIBRARY_ERROR, message);
    return 0;
}

}  // namespace iwv
