#pragma once

#include <string>

#include "common/ConversionCounts.h"
#include "common/LineFileReader.h"
#include "common/LineFileWriter.h"
#include "common/Words.h"
#include "platform/FileSystem.h"

namespace iwv {

// Turns one line file into another a line at a time: every input line is
// split with fields and handed to appendLine(output, counts), which writes
// what the line gives or counts why it gives nothing. The output replaces its
// target, through the replacement file open gives, only once every line is
// on disk. Throws Error "Cannot open file <inputPath>", "Cannot create file
// <outputPath>" or "Cannot write file <outputPath>".
template <typename AppendLine>
ConversionCounts ConvertLineFile(const std::string& inputPath, const std::string& outputPath,
                                 const platform::ReplacementFile::Opener& open, WordSplitter& fields,
                                 AppendLine&& appendLine) {
    LineFileReader input(inputPath);
    LineFileWriter output(outputPath, open);
    ConversionCounts counts;
    counts.read = input.ForEachLine(fields, [&] { appendLine(output, counts); });
    counts.written = output.Lines();
    output.Commit();
    return counts;
}

}  // namespace iwv
