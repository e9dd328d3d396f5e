#pragma once

#include <cstddef>

#include "platform/FileSystem.h"

namespace iwv::test {

// Opens replacement files as the system does, but each one behaves as if it
// were alone on a disk with room for `capacity` bytes: writes reach the real
// file until the room is used up, and the write that overflows gets in what
// fits and fails, as a write to a full disk does.
platform::ReplacementFile::Opener LimitedCapacityOpener(std::size_t capacity);

}  // namespace iwv::test
