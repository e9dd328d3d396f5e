#pragma once

#include <cstdint>

namespace iwv {

// Copies the Windows-1250 text of a property code (an IWV_PROPERTY_ code, the
// empty text for one the library does not know) with its NUL into the host's
// buffer (at most IWV_PROPERTY_TEXT_SIZE bytes) and returns the buffer.
char* CopyProperty(char* buffer, std::int32_t code);

}  // namespace iwv
