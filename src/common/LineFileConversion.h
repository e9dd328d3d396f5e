#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/ConversionCounts.h"
#include "common/LineFileReader.h"
#include "common/LineFileWriter.h"
#include "common/Words.h"
#include "common/ReplacementFile.h"
#include "platform/FileSystem.h"

namespace iwv {

// A field of the line being converted, by its index.
struct FieldText {
    int index;
    std::string_view held;  // all of the field, or its first bytes in a LongLine
    std::uint64_t size;     // of the whole field, up to its limit
};

// The input line a conversion has just split, and the output it writes to,
// in two kinds that give the same: a line that lay in one block, whose fields
// are views into it, and one that spanned blocks, whose long fields are read
// back from the input past what the splitter holds of them. A conversion
// writes both with one template, so that the lines of a sound file cost no
// more than views.
struct HeldLine {
    static constexpr bool kMayBeLong = false;
    WordSplitter& fields;
    LineFileWriter& output;

    FieldText Text(int index) const {
        const std::string_view field = fields.Field(index);
        return {index, field, field.size()};
    }
    // Calls sink(bytes) with bytes from..to of the field, in order.
    template <typename Sink>
    void ForEachPiece(const FieldText& field, std::uint64_t from, std::uint64_t to, Sink&& sink) const {
        sink(field.held.substr(from, to - from));
    }
    // Writes bytes from..to of the field, or all of it, to output.
    void Copy(const FieldText& field, std::uint64_t from, std::uint64_t to) const {
        output.Append(field.held.substr(from, to - from));
    }
    void Copy(const FieldText& field) const { output.Append(field.held); }
};

struct LongLine {
    static constexpr bool kMayBeLong = true;  // a field may be longer than what is held of it
    WordSplitter& fields;
    LineFileReader& input;
    LineFileWriter& output;

    FieldText Text(int index) const { return {index, fields.Field(index), fields.FieldSize(index)}; }
    template <typename Sink>
    void ForEachPiece(const FieldText& field, std::uint64_t from, std::uint64_t to, Sink&& sink) const {
        input.ForEachPiece(fields, field.index, from, to, sink);
    }
    void Copy(const FieldText& field, std::uint64_t from, std::uint64_t to) const {
        ForEachPiece(field, from, to, [this](std::string_view bytes) { output.Append(bytes); });
    }
    void Copy(const FieldText& field) const { Copy(field, 0, field.size); }
};

// Turns one line file into another a line at a time: every input line is
// split with fields and handed to appendLine(line, counts), a HeldLine or a
// LongLine, which writes what the line gives or counts why it gives nothing.
// counts grow as the lines go, so that a conversion that fails part-way
// still says how far it got.
// The output replaces its target only once every line is on disk. Throws
// Error "Cannot open file <inputPath>", "Cannot create file <output>" or
// "Cannot write file <output>".
template <typename AppendLine>
void ConvertLineFile(platform::FileSystem& files, const std::string& inputPath, const ReplacementTarget& outputFile,
                     WordSplitter& fields, ConversionCounts& counts, AppendLine&& appendLine) {
    LineFileReader input(files, inputPath);
    LineFileWriter output(files, outputFile);
    const HeldLine held{fields, output};
    const LongLine spanning{fields, input, output};
    input.ForEachLine(fields, [&] {
        ++counts.read;
        if (fields.InPieces())
            appendLine(spanning, counts);
        else
            appendLine(held, counts);
    });
    counts.written = output.Lines();
    output.Commit();
}

}  // namespace iwv
