// Cuts arbitrary bytes into lines and fields, handed over in blocks of a size
// picked by the first byte, with ';' or no separator, and checks them against
// a byte-by-byte reading of the line-end rules and a plain split of each line;
// and checks the fast byte marks against the scalar ones a byte at a time.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Property.h"
#include "Reference.h"
#include "common/ByteMarks.h"
#include "common/LineScanner.h"

namespace {

// The count and the kept fields of a line, as the splitter gives them.
struct SplitLine {
    std::int64_t count = 0;
    std::vector<std::string> kept;
    bool operator==(const SplitLine& other) const { return count == other.count && kept == other.kept; }
};

SplitLine ReferenceSplit(const std::string& line, char separator) {
    SplitLine split;
    if (line.empty()) return split;
    std::string field;
    for (const char c : line) {
        if (c != separator) {
            field.push_back(c);
            continue;
        }
        ++split.count;
        if (split.kept.size() < iwv::WordSplitter::kKeptFields) split.kept.push_back(field);
        field.clear();
    }
    if (line.back() != separator) {
        ++split.count;
        if (split.kept.size() < iwv::WordSplitter::kKeptFields) split.kept.push_back(field);
    }
    return split;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using iwv::fuzz::Require;
    if (size == 0) return 0;
    const std::size_t blockSize = 1 + (data[0] >> 1) * 2;
    const char separator = (data[0] & 1) ? ';' : '\0';
    const std::string_view bytes = iwv::fuzz::Bytes(data + 1, size - 1);

    const std::size_t words = iwv::MarkWords(bytes.size());
    std::vector<std::uint64_t> ends(words), separators(words), scalarEnds(words), scalarSeparators(words);
    iwv::MarkBytes(bytes, separator, ends.data(), separators.data());
    iwv::MarkBytesScalar(bytes, separator, scalarEnds.data(), scalarSeparators.data());
    Require(ends == scalarEnds && separators == scalarSeparators, "the fast marks are the scalar ones");

    iwv::WordSplitter fields;
    fields.Separator = separator;
    iwv::LineScanner scanner(fields);
    std::vector<SplitLine> lines;
    const auto onLine = [&] {
        SplitLine split;
        split.count = fields.Count();
        for (int i = 0; i < std::min<std::int64_t>(split.count, iwv::WordSplitter::kKeptFields); ++i)
            split.kept.emplace_back(fields.Field(i));
        Require(!fields.OutOfRange, "reading the fields of a line stays in range");
        lines.push_back(split);
    };
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        // A block of its own, overwritten after the scan as a reader's would be.
        std::string block(bytes.substr(at, blockSize));
        const bool more = scanner.Scan(block, onLine);
        block.assign(block.size(), '#');
        if (!more) break;
    }
    scanner.Finish(onLine);

    std::vector<SplitLine> expected;
    for (const std::string& line : iwv::fuzz::ReferenceLines(bytes)) expected.push_back(ReferenceSplit(line, separator));
    Require(scanner.Lines() == lines.size(), "Lines counts every line");
    Require(lines == expected, "the lines of the reference reading, in order, split at the separator");
    return 0;
}
