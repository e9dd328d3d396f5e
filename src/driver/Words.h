#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/LineList.h"

namespace iwv {

// Cuts one line into fields at a one-character separator and hands the fields
// out by index.
class WordSplitter {
public:
    // Fields of the last split in Lists[0]; Lists[1] is cleared at every split
    // and otherwise unused.
    std::array<LineList, 2> Lists;
    // Set by the owner before the first split; empty is never found.
    std::string Separator;
    // Set when a field past the end was asked for; cleared at every split.
    bool OutOfRange = false;

    // Splits text into fields and returns their number. A separator at the very
    // end opens no further field; only the separator's first character is
    // consumed after each field.
    int Split(std::string_view text);
    // Splits text and returns it unchanged.
    std::string_view SplitText(std::string_view text);
    // A copy of field number index (from 0); the empty text below 0 or past
    // the end, and past the end also sets OutOfRange.
    std::string Field(int index);
    // Field without the copy, for the conversions that run over a million
    // lines; valid until the next split.
    std::string_view FieldView(int index);
    // The number of fields of the last split.
    int Count() const;
};

// The first fields of text at a one-character separator, by the same rules as
// WordSplitter::Split, as views into text: nothing is copied and fields past
// the wanted ones are not kept, so that a line of megabytes, or of a million
// separators, costs no more memory than a short one. Fills fields[0] to
// fields[wanted - 1], the empty text past the last field, and returns the
// number of fields, counted no further than wanted + 1.
int SplitLeadingFields(std::string_view text, char separator, std::string_view* fields, int wanted);

}  // namespace iwv
