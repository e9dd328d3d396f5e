#pragma once

#include <cstdio>
#include <string>

#include "platform/Clock.h"

namespace iwv {

// A moment of the local time as text: "2026-12-08 09:31:02" for people
// reading the journal, "2026-12-08_093102" in a name of the archive's.
enum class TimeStyle { Reading, Naming };

inline std::string TimeText(const platform::LocalTime& t, TimeStyle style) {
    char text[48];
    std::snprintf(text, sizeof text,
                  style == TimeStyle::Reading ? "%04d-%02d-%02d %02d:%02d:%02d" : "%04d-%02d-%02d_%02d%02d%02d", t.year,
                  t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

}  // namespace iwv
