#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/ConversionCounts.h"
#include "common/LineFileReader.h"
#include "common/LineFileWriter.h"
#include "common/Words.h"
#include "platform/FileSystem.h"

namespace iwv {

// The input line a conversion has just split and the output it writes to.
// Fields are written out through Copy, which reads back from the input what
// the splitter does not hold of a long line's fields.
struct ConvertedLine {
    WordSplitter& fields;
    LineFileReader& input;
    LineFileWriter& output;

    // The whole size of field index, up to its limit.
    std::uint64_t Size(int index) const { return fields.FieldSize(index); }
    // Writes bytes from..to of field index to output.
    void Copy(int index, std::uint64_t from, std::uint64_t to) const {
        input.ForEachPiece(fields, index, from, to, [this](std::string_view bytes) { output.Append(bytes); });
    }
    void Copy(int index) const { Copy(index, 0, Size(index)); }
};

// Turns one line file into another a line at a time: every input line is
// split with fields and handed to appendLine(line, counts), which writes what
// the line gives or counts why it gives nothing. The output replaces its
// target, through the replacement file open gives, only once every line is
// on disk. Throws Error "Cannot open file <inputPath>", "Cannot create file
// <outputPath>" or "Cannot write file <outputPath>".
template <typename AppendLine>
ConversionCounts ConvertLineFile(const std::string& inputPath, const std::string& outputPath,
                                 const platform::ReplacementFile::Opener& open, WordSplitter& fields,
                                 AppendLine&& appendLine) {
    LineFileReader input(inputPath);
    LineFileWriter output(outputPath, open);
    const ConvertedLine line{fields, input, output};
    ConversionCounts counts;
    counts.read = input.ForEachLine(fields, [&] { appendLine(line, counts); });
    counts.written = output.Lines();
    output.Commit();
    return counts;
}

}  // namespace iwv
