#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/LineScanner.h"
#include "common/Words.h"

namespace iwv {

// Splits a text the way the conversions split a line that lies in one block:
// as the one line of a block, its separators found with its line end. The
// fields are views into the block, which lives until the next split.
class ScannedLine {
public:
    // text holds no CR, LF or NUL.
    std::int64_t Split(WordSplitter& fields, std::string_view text) {
        block_.assign(text);
        block_.push_back('\n');
        LineScanner lines(fields);
        lines.Scan(block_, [] {});
        return fields.Count();
    }

private:
    std::string block_;
};

}  // namespace iwv
