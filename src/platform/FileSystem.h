#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/SystemError.h"

namespace iwv::platform {

// The block the library reads and writes files in: few enough calls that a
// file goes at the speed of a copy, in a fixed amount of memory.
constexpr std::size_t kFileBlockBytes = std::size_t{1} << 18;

// A file open for reading, from its start to its end.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Reads the next bytes, at most capacity of them; read is 0 at the end.
    virtual SystemError Read(char* data, std::size_t capacity, std::size_t& read) = 0;
    // Reads from offset on, without moving where Read goes on.
    virtual SystemError ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) = 0;
};

// A file open for writing; writes go on where the last one ended. Destroyed
// without Close, it is closed without a flush.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    // Writes every byte, or fails; a failed write may have written some.
    virtual SystemError Write(const char* data, std::size_t size) = 0;
    // Makes the file size bytes long; where writing goes on stays.
    virtual SystemError SetLength(std::uint64_t size) = 0;
    // Waits until what was written, and the file's size, are on disk.
    virtual SystemError Flush() = 0;
    // The same from another thread while this one goes on writing, without
    // holding up its writes.
    virtual SystemError FlushAside() = 0;
    virtual SystemError Close() = 0;
};

// Held by one process at a time; let go when destroyed, or when the process
// holding it dies.
class FileLock {
public:
    virtual ~FileLock() = default;
};

struct FileStatus {
    bool directory = false;
    bool readOnly = false;  // may not be written or replaced
    std::uint64_t size = 0;
};

struct DirectoryEntry {
    std::string name;
    bool directory = false;
};

// Every call the library makes to the file system goes through one of these,
// so that tests can put a disk of their own beneath an operation: one that
// fails any call they choose, or loses what was not flushed when the power
// goes. Paths are the host's: Windows-1250 texts with backslashes. Every call
// returns the system's error, which is empty when it succeeded.
class FileSystem {
public:
    enum class Sharing {
        RefuseWriters,  // one consistent file: others may read it meanwhile, not write it
        AllowAll,       // a file its owner may go on reading, writing or deleting
    };

    virtual ~FileSystem() = default;

    virtual SystemError OpenForReading(const std::string& path, Sharing sharing,
                                       std::unique_ptr<ReadableFile>& file) = 0;
    // A new file; Exists when there is one of that name.
    virtual SystemError CreateNew(const std::string& path, std::unique_ptr<WritableFile>& file) = 0;
    // A file written at its end, made when missing.
    virtual SystemError OpenForAppending(const std::string& path, std::unique_ptr<WritableFile>& file) = 0;
    // An existing file written over from its start, beside whoever holds it
    // open for reading and writing.
    virtual SystemError OpenForOverwriting(const std::string& path, std::unique_ptr<WritableFile>& file) = 0;

    // NotFound when nothing is at path.
    virtual SystemError Status(const std::string& path, FileStatus& status) = 0;
    // What a directory holds, "." and ".." left out, in no particular order.
    virtual SystemError List(const std::string& directory, std::vector<DirectoryEntry>& entries) = 0;

    virtual SystemError Remove(const std::string& path) = 0;
    // Renames a file or directory, replacing a file of the new name, on disk
    // before it returns where the system can promise that.
    virtual SystemError Rename(const std::string& from, const std::string& to) = 0;
    // Puts replacement in the place of target, which keeps its attributes and
    // security; InUse when target is held open against its deletion.
    virtual SystemError Replace(const std::string& target, const std::string& replacement) = 0;
    virtual SystemError MakeDirectory(const std::string& path) = 0;
    virtual SystemError RemoveEmptyDirectory(const std::string& path) = 0;
    // Puts what the directory lists (files made, renamed or removed in it) on
    // disk, where the system lets that be asked for.
    virtual SystemError FlushDirectory(const std::string& path) = 0;

    // Takes the lock named by path without waiting; InUse while another
    // holds it. The file at path exists only while it is held.
    virtual SystemError Lock(const std::string& path, std::unique_ptr<FileLock>& lock) = 0;
};

// The machine's own file system.
FileSystem& SystemFileSystem();

}  // namespace iwv::platform
