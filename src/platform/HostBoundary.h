#pragma once

#include <cstdint>
#include <utility>

namespace iwv::platform {

// The exception code with which a library error reaches a Windows host.
constexpr std::uint32_t kLibraryErrorCode = 0xE0495756u;

// Runs the body of an exported entry point. On Windows no C++ exception may
// leave the library: an error is turned into the structured exception
// kLibraryErrorCode, raised after everything the body held is released, with
// ExceptionInformation[0] pointing at the message (NUL-terminated, valid until
// the next error raised on the same thread). Natively the exception leaves as
// it is, for the tests.
std::int32_t RunAtHostBoundary(std::int32_t (*body)(void* context), void* context);

template <typename Body>
std::int32_t AtHostBoundary(Body&& body) {
    return RunAtHostBoundary([](void* context) -> std::int32_t { return (*static_cast<Body*>(context))(); },
                             const_cast<void*>(static_cast<const void*>(&body)));
}

}  // namespace iwv::platform
