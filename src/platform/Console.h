#pragma once

#include <string_view>

namespace iwv::platform {

enum class StandardStream { Output, Error };

// Writes Windows-1250 text for people to read. A Windows console gets it
// through its wide-character interface, so that Polish letters show right
// whatever the console's code page (852 on a Polish Windows). Anything else
// (a file, a pipe, a terminal elsewhere) gets Windows-1250 bytes, or UTF-8
// where utf8Elsewhere asks for it and the system converts (Windows).
void WriteText(StandardStream stream, std::string_view cp1250, bool utf8Elsewhere = false);

}  // namespace iwv::platform
