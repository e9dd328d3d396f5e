#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace iwv {

// Writes a line file as the lines come, each followed by CR LF, into a
// replacement file beside the target; the target is replaced only by Commit,
// once every byte is on disk. Destroyed without Commit, it leaves the target
// as it was and no other file behind. A whole file never has to be held in
// memory to be saved this way.
class LineFileWriter {
public:
    // Throws Error "Cannot create file <path>".
    explicit LineFileWriter(std::string path,
                            const platform::ReplacementFile::Opener& open = &platform::ReplacementFile::Open);
    ~LineFileWriter();
    LineFileWriter(const LineFileWriter&) = delete;
    LineFileWriter& operator=(const LineFileWriter&) = delete;

    void Append(std::string_view line);
    // Throws Error "Cannot write file <path>" or "Cannot create file <path>".
    void Commit();

private:
    void Put(const char* data, std::size_t size);
    void Flush();

    std::string path_;
    std::unique_ptr<platform::ReplacementFile> file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool written_ = true;  // false after the first failed write
};

}  // namespace iwv
