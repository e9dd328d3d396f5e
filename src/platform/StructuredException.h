#pragma once

#include <cstdint>

namespace iwv::platform {

// True where the host is reached by structured exceptions (Windows): a C++
// exception must not leave the library there, since the host need not be
// C++. Elsewhere the library runs only for tests and tools, which take the
// C++ exception as it is.
bool HostTakesStructuredExceptions();

// Raises the non-continuable structured exception code, with the address of
// message as its one argument. Never returns where HostTakesStructuredExceptions
// is true; returns at once elsewhere.
void RaiseStructuredException(std::uint32_t code, const char* message);

}  // namespace iwv::platform
