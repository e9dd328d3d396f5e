#pragma once

#include <string>
#include <string_view>

#include "common/LineEnds.h"
#include "platform/FileSystem.h"

namespace iwv {

// A line file read whole at once, as LineList::Load reads it (the same sharing
// with other programs, the same line-end rules, the same error), whose lines
// are handed out one at a time rather than kept in a list: a conversion then
// holds the file's bytes and nothing per line, however many lines there are.
class LineFileReader {
public:
    // Throws Error "Cannot open file <path>".
    explicit LineFileReader(const std::string& path);

    // Calls onLine(line) for every line, in order.
    template <typename OnLine>
    void ForEach(OnLine onLine) const {
        const std::string_view bytes(contents_.data.get(), contents_.size);
        ForEachLineIn(bytes, [&](std::size_t begin, std::size_t end) { onLine(bytes.substr(begin, end - begin)); });
    }

private:
    platform::FileBytes contents_;
};

}  // namespace iwv
