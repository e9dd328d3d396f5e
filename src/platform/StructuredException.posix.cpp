#include "platform/StructuredException.h"

namespace iwv::platform {

bool HostTakesStructuredExceptions() { return false; }

void RaiseStructuredException(std::uint32_t, const char*) {}

}  // namespace iwv::platform
