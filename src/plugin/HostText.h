#pragma once

#include <string_view>

namespace iwv {

// Copies text and a NUL into a buffer the host owns and sized for it; a null
// buffer receives nothing.
void CopyToHost(std::string_view text, char* buffer);

}  // namespace iwv
