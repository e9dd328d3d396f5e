#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace iwv {

// Why a copy failed: the system's error and the side it came from.
struct CopyFailure {
    platform::SystemError error;
    bool reading = false;  // reading the source, rather than writing the copy

    explicit operator bool() const { return static_cast<bool>(error); }
};

// Writes what is left of from into to, a block at a time.
CopyFailure CopyRest(platform::ReadableFile& from, platform::WritableFile& to);

// Copies the file at from into a new file at to, and waits until the copy is
// on disk. A copy that is not whole is removed again. sharing says how from
// is opened: a file another program owns is read however it holds it.
CopyFailure CopyToNewFile(platform::FileSystem& files, const std::string& from, const std::string& to,
                          platform::FileSystem::Sharing sharing);

}  // namespace iwv
