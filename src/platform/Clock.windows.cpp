#include "platform/Clock.h"

#include <windows.h>

namespace iwv::platform {

void SleepMilliseconds(unsigned milliseconds) { ::Sleep(milliseconds); }

std::uint64_t MonotonicMilliseconds() { return ::GetTickCount64(); }

LocalTime LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace iwv::platform
