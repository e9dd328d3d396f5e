#include "platform/Clock.h"

#include <windows.h>

namespace iwv::platform {

void SleepMilliseconds(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace iwv::platform
