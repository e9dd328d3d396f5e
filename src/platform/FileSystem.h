#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace iwv::platform {

// Deletes the file at path; false when it is missing or cannot be deleted.
bool RemoveFile(const std::string& path);

// True when the file can be opened for reading (as fopen "rb" opens it).
bool FileCanBeOpenedForReading(const std::string& path);

// True when a directory exists at path.
bool DirectoryExists(const std::string& path);

// True when a new file can be created in the directory at path (and is
// removed again at once).
bool DirectoryWritable(const std::string& path);

// A new file that takes the place of a target only when it is complete and on
// disk. It is written beside the target, under a name of its own, so that the
// final rename never crosses file systems and a power cut leaves either the
// old file or the new one. Destroyed without Commit, it removes itself.
class ReplacementFile {
public:
    enum class Status { Ok, CannotCreate, CannotWrite };

    // Opens a temporary file beside target. CannotCreate when the directory is
    // missing or not writable, or the target exists and may not be replaced.
    static Status Open(const std::string& target, std::unique_ptr<ReplacementFile>& file);
    using Opener = std::function<Status(const std::string& target, std::unique_ptr<ReplacementFile>& file)>;

    virtual ~ReplacementFile() = default;
    // Appends bytes; false on a short or failed write.
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Flushes to disk, closes and renames over the target.
    virtual Status Commit() = 0;
};

}  // namespace iwv::platform
