#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/LineList.h"

namespace iwv {

// Cuts one line into fields at a one-character separator and hands the fields
// out by index. Made afresh for every line by its users.
class WordSplitter {
public:
    // Fields of the last split in Lists[0]; Lists[1] is cleared at every split
    // and otherwise unused.
    std::array<LineList, 2> Lists;
    // Set by the owner before the first split; empty is never found.
    std::string Separator;
    // Set when a field past the end was asked for; cleared at every split.
    bool OutOfRange = false;

    // Splits text into fields and returns their number.
    int Split(std::string_view text);
    // Splits text and returns it unchanged.
    std::string_view SplitText(std::string_view text);
    // Field number index (from 0); the empty text below 0 or past the end.
    std::string Field(int index);
    // The number of fields of the last split.
    int Count() const;
};

}  // namespace iwv
