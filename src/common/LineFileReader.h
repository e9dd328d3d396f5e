#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/LineScanner.h"
#include "common/Words.h"
#include "platform/InputFile.h"

namespace iwv {

// A line file read a block at a time through one buffer, its lines split
// into fields as they come: however large the file, the reader holds one
// block, and only a line that spans blocks costs the fields kept of it. The
// file stays open, other readers allowed and other writers refused, until the
// reader is destroyed, so a conversion that keeps its reader to the end reads
// one consistent file.
class LineFileReader {
public:
    static constexpr std::size_t kBlockBytes = platform::InputFile::kBlockBytes;

    // Throws Error "Cannot open file <path>".
    explicit LineFileReader(std::string path);
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

private:
    // The next bytes of the file; empty at its end.
    std::string_view NextBlock();

    std::string path_;
    std::unique_ptr<platform::InputFile> file_;
    std::unique_ptr<char[]> block_;
};

}  // namespace iwv
