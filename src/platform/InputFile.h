#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace iwv::platform {

// A file read from its start to its end, a block at a time. It is opened for
// reading with other readers allowed and other writers refused, as far as the
// platform can promise that, and stays so until it is destroyed: what is read
// is then one consistent file, however long the reading takes. Nothing here
// depends on the file's size, so a file larger than the address space reads
// like any other.
class InputFile {
public:
    // The block its readers read at a time: few enough calls that a file
    // reads at the speed of a copy, and a fixed amount of memory.
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 18;

    // Null when the file cannot be opened for reading: it is missing, a
    // directory, or another program holds it open for writing.
    static std::unique_ptr<InputFile> Open(const std::string& path);
    // The same for a file that belongs to another program, which may go on
    // reading, writing or deleting it meanwhile, as a host holding its count
    // file open does: the file opens however it is held, as long as its
    // holder lets it be read.
    static std::unique_ptr<InputFile> OpenShared(const std::string& path);

    virtual ~InputFile() = default;
    // Reads the next bytes of the file into data, at most capacity of them,
    // and sets read to their number: 0 at the end of the file. False when
    // reading failed.
    virtual bool Read(char* data, std::size_t capacity, std::size_t& read) = 0;
    // Reads bytes from offset on the same way, without moving where Read
    // goes on: for reading back what was read before.
    virtual bool ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) = 0;
};

}  // namespace iwv::platform
