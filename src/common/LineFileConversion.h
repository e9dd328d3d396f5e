#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/ConversionCounts.h"
#include "common/LineFileReader.h"
#include "common/LineFileWriter.h"
#include "common/ReplacementFile.h"
#include "common/Words.h"
#include "platform/FileSystem.h"

namespace iwv {

// A field of the line being converted, by its index.
struct FieldText {
    int index;
    std::string_view kept;  // all of the field, or its first bytes in a SpanningLine
    std::uint64_t size;     // of the whole field, up to its limit
};

// The line a conversion has just split, and where its output goes, in two
// kinds that give the same: a line that lay in one block, and one that
// spanned blocks. A conversion writes both with one template: the line's
// fields, its output and its end.
//
// A line in one block: its fields are views into the input block, which has
// readable slack past its end, and its output goes straight into the room the
// writer reserved for the whole line, 16 bytes at a time, with no check per
// piece.
struct BlockLine {
    // What a conversion adds to a line at most: "INW;" and its zeros, the
    // points and zeros of the lookup line's numbers, the line end.
    static constexpr std::size_t kGrowth = 32;
    static_assert(kGrowth <= LineFileWriter::kLongestLine - LineFileReader::kBlockBytes);

    WordSplitter& fields;
    LineFileWriter& writer;
    char* at;  // where the line's next byte goes

    BlockLine(WordSplitter& split, LineFileWriter& output)
        : fields(split), writer(output), at(output.Reserve(split.Size() + kGrowth)) {}

    FieldText Text(int index) const {
        const std::string_view field = fields.Field(index);
        return {index, field, field.size()};
    }
    // Where byte first occurs in the field from `from` on; its size when not.
    std::uint64_t Find(const FieldText& field, char byte, std::uint64_t from = 0) const {
        while (from < field.size && field.kept[from] != byte) ++from;
        return from;
    }
    // Writes bytes from..to of the field.
    void Copy(const FieldText& field, std::uint64_t from, std::uint64_t to) {
        const char* source = field.kept.data() + from;
        const std::size_t size = static_cast<std::size_t>(to - from);
        for (std::size_t done = 0; done < size; done += LineFileWriter::kSlack)
            std::memcpy(at + done, source + done, LineFileWriter::kSlack);
        at += size;
    }
    void Copy(const FieldText& field) { Copy(field, 0, field.size); }
    // Writes the field with every `from` byte as `to`.
    void CopyReplacing(const FieldText& field, char from, char to) {
        char* const begin = at;
        Copy(field);
        for (char* byte = begin; byte != at; ++byte)
            if (*byte == from) *byte = to;
    }
    void Append(char byte) { *at++ = byte; }
    // Bytes of the conversion's own, short ones.
    void Append(std::string_view bytes) {
        std::memcpy(at, bytes.data(), bytes.size());
        at += bytes.size();
    }
    void EndLine() {
        Append(std::string_view("\r\n", 2));
        writer.EndLineAt(at);
    }
};

// A line that spanned blocks: its fields longer than what the splitter keeps
// of them are read back from the input, and its output goes through the
// writer's checked appends, in a fixed amount of memory however long it is.
struct SpanningLine {
    WordSplitter& fields;
    LineFileReader& input;
    LineFileWriter& writer;

    FieldText Text(int index) const { return {index, fields.Field(index), fields.FieldSize(index)}; }
    std::uint64_t Find(const FieldText& field, char byte, std::uint64_t from = 0) const {
        std::uint64_t found = field.size;
        std::uint64_t at = from;
        ForEachPiece(field, from, field.size, [&](std::string_view bytes) {
            const std::size_t in = found == field.size ? std::min(bytes.find(byte), bytes.size()) : bytes.size();
            if (in < bytes.size()) found = at + in;
            at += bytes.size();
        });
        return found;
    }
    void Copy(const FieldText& field, std::uint64_t from, std::uint64_t to) {
        ForEachPiece(field, from, to, [this](std::string_view bytes) { writer.Append(bytes); });
    }
    void Copy(const FieldText& field) { Copy(field, 0, field.size); }
    void CopyReplacing(const FieldText& field, char from, char to) {
        ForEachPiece(field, 0, field.size, [&](std::string_view bytes) {
            std::size_t begin = 0;
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (bytes[i] != from) continue;
                writer.Append(bytes.substr(begin, i - begin));
                writer.Append(to);
                begin = i + 1;
            }
            writer.Append(bytes.substr(begin));
        });
    }
    void Append(char byte) { writer.Append(byte); }
    void Append(std::string_view bytes) { writer.Append(bytes); }
    void EndLine() { writer.EndLine(); }

private:
    // Calls sink(bytes) with bytes from..to of the field, in order.
    template <typename Sink>
    void ForEachPiece(const FieldText& field, std::uint64_t from, std::uint64_t to, Sink&& sink) const {
        input.ForEachPiece(fields, field.index, from, to, sink);
    }
};

// Turns one line file into another a line at a time: every input line is
// split with fields and handed to appendLine(line, counts), a BlockLine or a
// SpanningLine, which writes what the line gives or counts why it gives
// nothing. counts grow as the lines go, so that a conversion that fails
// part-way still says how far it got. The output replaces its target only
// once every line is on disk. Throws Error "Cannot open file <inputPath>",
// "Cannot create file <output>" or "Cannot write file <output>".
template <typename AppendLine>
void ConvertLineFile(platform::FileSystem& files, const std::string& inputPath, const ReplacementTarget& outputFile,
                     WordSplitter& fields, ConversionCounts& counts, AppendLine&& appendLine) {
    LineFileReader input(files, inputPath);
    LineFileWriter output(files, outputFile);
    SpanningLine spanning{fields, input, output};
    input.ForEachLine(fields, [&] {
        ++counts.read;
        if (fields.InPieces()) {
            appendLine(spanning, counts);
        } else {
            BlockLine line(fields, output);
            appendLine(line, counts);
        }
    });
    counts.written = output.Lines();
    output.Commit();
}

}  // namespace iwv
