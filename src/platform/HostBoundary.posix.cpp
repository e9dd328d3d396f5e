#include "platform/HostBoundary.h"

namespace iwv::platform {

std::int32_t RunAtHostBoundary(std::int32_t (*body)(void*), void* context) { return body(context); }

}  // namespace iwv::platform
