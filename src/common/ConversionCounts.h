#pragma once

#include <cstdint>

namespace iwv {

// What one file conversion did, line by line: every input line is either
// written or skipped for one reason.
struct ConversionCounts {
    std::uint64_t read = 0;             // lines of the input file
    std::uint64_t written = 0;          // lines of the output file
    std::uint64_t wrongFieldCount = 0;  // skipped: not exactly the fields a line needs
    std::uint64_t nothingCounted = 0;   // skipped: the quantity says nothing was counted
    std::uint64_t noValue = 0;          // skipped: a quantity that gives no value
};

}  // namespace iwv
