#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/LineScanner.h"
#include "common/Words.h"
#include "platform/FileSystem.h"

namespace iwv {

// A line file read a block at a time through one buffer, its lines split
// into fields as they come: however large the file, the reader holds one
// block, and a line that spans blocks costs only what the splitter holds of
// its fields; the rest is read back from the file when it is written out. The
// file stays open, other readers allowed and other writers refused, until the
// reader is destroyed, so a conversion that keeps its reader to the end reads
// one consistent file.
class LineFileReader {
public:
    static constexpr std::size_t kBlockBytes = platform::kFileBlockBytes;
    // Readable bytes past every block, so that copies of a line's fields
    // may read 16 bytes at a time.
    static constexpr std::size_t kSlack = 16;

    // Throws Error "Cannot open file <path>".
    LineFileReader(platform::FileSystem& files, std::string path);
    ~LineFileReader();
    LineFileReader(const LineFileReader&) = delete;
    LineFileReader& operator=(const LineFileReader&) = delete;

    // Splits every line with fields, in order, calling onLine() after each,
    // and returns the number of lines (see LineScanner for the line ends).
    // Throws Error "Cannot open file <path>" when the file cannot be read to
    // its end.
    template <typename OnLine>
    std::uint64_t ForEachLine(WordSplitter& fields, OnLine&& onLine) {
        LineScanner lines(fields);
        for (std::string_view block = NextBlock(); !block.empty() && lines.Scan(block, onLine);)
            block = NextBlock();
        lines.Finish(onLine);
        return lines.Lines();
    }

    // Calls sink(bytes) with bytes from..to of field index (below
    // kKeptFields) of the line just split, in order: what fields holds of it,
    // then, of a line in pieces, the rest read back from the file. A field of
    // any length is so written out in a fixed amount of memory. Throws Error
    // "Cannot open file <path>" when the file cannot be read back.
    template <typename Sink>
    void ForEachPiece(WordSplitter& fields, int index, std::uint64_t from, std::uint64_t to, Sink&& sink) {
        const std::string_view kept = fields.Field(index);
        if (to <= kept.size()) {
            sink(kept.substr(from, to - from));
            return;
        }
        if (from < kept.size()) {
            sink(kept.substr(from));
            from = kept.size();
        }
        for (std::uint64_t at = fields.FieldStart(index) + from, end = fields.FieldStart(index) + to; at < end;) {
            const std::string_view bytes = ReadBack(at, end - at);
            sink(bytes);
            at += bytes.size();
        }
    }

private:
    // The next bytes of the file; empty at its end.
    std::string_view NextBlock();
    // Some of the most bytes from offset on, at least one.
    std::string_view ReadBack(std::uint64_t offset, std::uint64_t most);

    std::string path_;
    std::unique_ptr<platform::ReadableFile> file_;
    std::unique_ptr<char[]> block_;
    std::unique_ptr<char[]> readBack_;  // made for the first line that needs it
};

}  // namespace iwv
