#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace iwv::platform {

// Deletes the file at path; false when it is missing or cannot be deleted.
bool RemoveFile(const std::string& path);

// True when anything (a file or a directory) exists at path.
bool PathExists(const std::string& path);

// True when the file can be opened for reading (as fopen "rb" opens it).
bool FileCanBeOpenedForReading(const std::string& path);

// True when a directory exists at path.
bool DirectoryExists(const std::string& path);

// True when a new file can be created in the directory at path (and is
// removed again at once).
bool DirectoryWritable(const std::string& path);

// Appends bytes to the file at path, creating it when it is missing, and
// waits until they are on disk. False when it cannot be opened or not every
// byte was written.
bool AppendToFile(const std::string& path, const char* data, std::size_t size);

// Cuts the file at path to no bytes, where it lies, so that whoever holds it
// open keeps a valid handle; false when it cannot.
bool EmptyFile(const std::string& path);

// Copies the file at from, a block at a time, into a file at to that must not
// exist yet; false when from cannot be read or to exists or cannot be
// written whole (a part written is removed again). From is read however
// another program holds it, as long as that program lets it be read. The
// copy has the default attributes, so it can always be removed like any file
// of its folder.
bool CopyToNewFile(const std::string& from, const std::string& to);

// The size in bytes of the file at path; false when there is none.
bool FileSize(const std::string& path, std::uint64_t& size);

// Renames a file, replacing a file of the new name; false when it cannot.
bool RenameReplacing(const std::string& from, const std::string& to);

// Creates a directory; false when it cannot or something of that name exists.
bool MakeDirectory(const std::string& path);

// Removes an empty directory; false when it cannot.
bool RemoveEmptyDirectory(const std::string& path);

struct DirectoryEntry {
    std::string name;
    bool directory = false;
};

// What a directory holds, "." and ".." left out, in no particular order;
// empty when it cannot be read.
std::vector<DirectoryEntry> ListDirectory(const std::string& path);

// A file that someone else holds open, written over where it lies: what a
// preserving replacement (below) does on Windows to a target it cannot
// replace. Windows only, since nothing elsewhere holds a file against its
// replacement.
class InPlaceFile {
public:
    // Null when path cannot be opened for writing beside whoever holds it.
    static std::unique_ptr<InPlaceFile> Open(const std::string& path);
    using Opener = std::function<std::unique_ptr<InPlaceFile>(const std::string& path)>;

    InPlaceFile() = default;
    InPlaceFile(const InPlaceFile&) = delete;
    InPlaceFile& operator=(const InPlaceFile&) = delete;
    virtual ~InPlaceFile() = default;
    virtual bool Size(std::uint64_t& size) = 0;
    // Makes the file size bytes long, where the writing goes on; false when
    // the disk has no room for it.
    virtual bool SetLength(std::uint64_t size) = 0;
    // Writes bytes where the last write ended, from the start of the file on.
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Flushes to disk and closes.
    virtual bool Close() = 0;
};

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
    // The same for a file that belongs to someone else, who may hold it open
    // and whose attributes and security must stay: on Windows the commit
    // replaces the target with ReplaceFileA, and where the target cannot be
    // replaced (held open, or no right to delete in its folder) writes the
    // complete copy over it in place and then removes the copy. A failure
    // part-way through that leaves the copy beside the target. Elsewhere as
    // Open.
    static Status OpenPreservingTarget(const std::string& target, std::unique_ptr<ReplacementFile>& file);
    // The same, writing a held target over through writeInPlace (Windows
    // only), which tests give the room of a small disk.
    static Status OpenPreservingTargetWith(const std::string& target, std::unique_ptr<ReplacementFile>& file,
                                           InPlaceFile::Opener writeInPlace);
    using Opener = std::function<Status(const std::string& target, std::unique_ptr<ReplacementFile>& file)>;

    virtual ~ReplacementFile() = default;
    // Appends bytes; false on a short or failed write.
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Flushes to disk, closes and renames over the target.
    virtual Status Commit() = 0;
    // Where a failed Commit left the complete new file beside the target,
    // because the target may then hold neither the old bytes nor the new
    // ones; empty when it left none.
    virtual std::string KeptCopy() const { return {}; }
};

}  // namespace iwv::platform
