#pragma once

#include <cstdint>

namespace iwv {

// Copies key, caption, default value and two empty texts of parameter index
// into the host's buffers and returns IWV_PARAMETER_DESCRIBED; 0, writing
// nothing, for another group or an index past the table.
std::int32_t DescribeParameter(std::int32_t group, std::uint32_t index, char* key, char* caption,
                               char* defaultValue, char* fourth, char* fifth);

// Copies entry index of key's value list into buffer and returns 1; 0, with
// buffer untouched, for an unknown key or an index past the list.
std::int32_t CopyListEntry(const char* key, std::uint32_t index, char* buffer);

}  // namespace iwv
