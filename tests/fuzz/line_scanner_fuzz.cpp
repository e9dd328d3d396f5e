// Cuts arbitrary bytes into lines, handed over in blocks of a size picked by
// the first byte, and checks them against a byte-by-byte reading of the
// line-end rules.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Property.h"
#include "Reference.h"
#include "common/LineScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using iwv::fuzz::Require;
    if (size == 0) return 0;
    const std::size_t blockSize = 1 + data[0] % 64;
    const std::string_view bytes = iwv::fuzz::Bytes(data + 1, size - 1);

    iwv::WordSplitter line;  // no separator: each line is one field
    iwv::LineScanner scanner(line);
    std::vector<std::string> lines;
    const auto onLine = [&] {
        Require(line.Count() <= 1, "a line is one field, none when empty");
        lines.emplace_back(line.Field(0));
    };
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        // A block of its own, overwritten after the scan as a reader's would be.
        std::string block(bytes.substr(at, blockSize));
        const bool more = scanner.Scan(block, onLine);
        block.assign(block.size(), '#');
        if (!more) break;
    }
    scanner.Finish(onLine);

    Require(scanner.Lines() == lines.size(), "Lines counts every line");
    Require(lines == iwv::fuzz::ReferenceLines(bytes), "the lines of the reference reading, in order");
    return 0;
}
