#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/ReplacementFile.h"

namespace iwv {

// Writes a line file as its lines are built, a piece at a time, into one
// block that goes to disk whenever it is full; each line ends with CR LF. The
// bytes go to a replacement file beside the target, and the target is
// replaced only by Commit, once every byte is on disk (see ReplacementFile).
// Destroyed without Commit, it leaves the target as it was and no other file
// behind.
class LineFileWriter {
public:
    static constexpr std::size_t kBlockBytes = platform::kFileBlockBytes;

    // The file beside the target is made when the first block goes to disk,
    // or at Commit: a conversion that cannot write reads as far as it can
    // first, so that it can say how many lines its input held.
    LineFileWriter(platform::FileSystem& files, ReplacementTarget target);
    ~LineFileWriter();
    LineFileWriter(const LineFileWriter&) = delete;
    LineFileWriter& operator=(const LineFileWriter&) = delete;

    // Appends bytes to the line being built.
    void Append(std::string_view bytes) {
        if (bytes.size() > kBlockBytes - used_) return AppendLong(bytes);
        CopyBytes(block_.get() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void Append(char byte) {
        if (used_ == kBlockBytes) Flush();
        block_[used_++] = byte;
    }
    // Ends the line being built.
    void EndLine() {
        Append(std::string_view("\r\n", 2));
        ++lines_;
    }

    // Room for a whole line of at most `most` bytes and kSlack more, which
    // copies of kSlack bytes at a time may write past its end: the block
    // always has it, as it goes to disk once it holds a block's worth. A line
    // so built needs no check per piece. Throws Error "Cannot write file
    // <path>" for a line longer than kLongestLine, which would not fit.
    static constexpr std::size_t kSlack = 16;
    // A line of a whole block, and what a conversion adds to one.
    static constexpr std::size_t kLongestLine = kBlockBytes + 64;
    char* Reserve(std::size_t most) {
        if (most > kLongestLine) Oversized();
        return block_.get() + used_;
    }
    // Ends the line built in the room Reserve gave, up to end.
    void EndLineAt(const char* end) {
        used_ = static_cast<std::size_t>(end - block_.get());
        ++lines_;
        if (used_ >= kBlockBytes) Flush();
    }
    // The lines ended so far.
    std::uint64_t Lines() const { return lines_; }

    // Throws the errors of ReplacementFile and its Commit.
    void Commit();

private:
    // Most pieces of a line are a few bytes long: they are copied in at most
    // two moves of fixed size rather than by a library call each.
    static void CopyBytes(char* to, const char* from, std::size_t size) {
        if (size >= 8 && size <= 16) {
            std::memcpy(to, from, 8);
            std::memcpy(to + size - 8, from + size - 8, 8);
        } else if (size >= 4 && size < 8) {
            std::memcpy(to, from, 4);
            std::memcpy(to + size - 4, from + size - 4, 4);
        } else if (size > 0 && size < 4) {
            to[0] = from[0];
            to[size / 2] = from[size / 2];
            to[size - 1] = from[size - 1];
        } else if (size > 16) {
            std::memcpy(to, from, size);
        }
    }
    // A block, and room past it for a whole line and its slack.
    static constexpr std::size_t kRoom = kBlockBytes + kLongestLine + kSlack;

    void AppendLong(std::string_view bytes);
    void Flush();
    [[noreturn]] void Oversized() const;

    ReplacementFile& File();

    platform::FileSystem& files_;
    ReplacementTarget target_;
    std::optional<ReplacementFile> file_;
    std::unique_ptr<char[]> block_;
    std::size_t used_ = 0;
    std::uint64_t lines_ = 0;
};

}  // namespace iwv
