#include "common/ByteMarks.h"

namespace iwv {

void MarkBytesScalar(std::string_view text, char separator, std::uint64_t* ends, std::uint64_t* separators) {
    for (std::size_t w = 0; w < MarkWords(text.size()); ++w) ends[w] = separators[w] = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        const std::uint64_t bit = std::uint64_t{1} << (at % 64);
        if (c == '\r' || c == '\n' || c == '\0') ends[at / 64] |= bit;
        if (c == separator && separator != '\0') separators[at / 64] |= bit;
    }
}

}  // namespace iwv
