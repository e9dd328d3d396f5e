#include "platform/StructuredException.h"

#include <windows.h>

namespace iwv::platform {

bool HostTakesStructuredExceptions() { return true; }

void RaiseStructuredException(std::uint32_t code, const char* message) {
    const ULONG_PTR arguments[1] = {reinterpret_cast<ULONG_PTR>(message)};
    ::RaiseException(code, EXCEPTION_NONCONTINUABLE, 1, arguments);
}

}  // namespace iwv::platform
