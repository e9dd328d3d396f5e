#pragma once

#include <cstdint>

namespace iwv {

// Runs the body of an export or import entry point. Where the host takes
// structured exceptions, no C++ exception may leave the library: an error is
// turned into the structured exception IWV_LIBRARY_ERROR, raised after
// everything the body held is released, with ExceptionInformation[0] pointing
// at the message (NUL-terminated, valid until the next error raised on the
// same thread). Elsewhere the exception leaves as it is, for the tests.
std::int32_t RunAtHostBoundary(std::int32_t (*body)(void* context), void* context);

template <typename Body>
std::int32_t AtHostBoundary(Body&& body) {
    return RunAtHostBoundary([](void* context) -> std::int32_t { return (*static_cast<Body*>(context))(); },
                             const_cast<void*>(static_cast<const void*>(&body)));
}

}  // namespace iwv
