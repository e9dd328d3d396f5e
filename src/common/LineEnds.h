#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace iwv {

namespace detail {

// Position of c in data from `from` on; size when there is none.
inline std::size_t FindByte(const char* data, std::size_t size, std::size_t from, char c) {
    if (from >= size) return size;
    const void* found = std::memchr(data + from, c, size - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
}

}  // namespace detail

// Calls onLine(begin, end) for every line of bytes, by the rules of line
// files: CR LF, a lone CR or a lone LF ends a line (LF CR is two line ends),
// a last line needs no line end, a NUL ends the text. The next CR and the
// next LF are each found with memchr and remembered until passed, so a file
// of one line-end kind is scanned for the other only once. onLine may
// overwrite bytes before `end`; nothing before it is read again.
template <typename OnLine>
void ForEachLineIn(std::string_view bytes, OnLine onLine) {
    using detail::FindByte;
    const char* const data = bytes.data();
    const std::size_t size = FindByte(data, bytes.size(), 0, '\0');
    std::size_t begin = 0;
    std::size_t nextCr = FindByte(data, size, 0, '\r');
    std::size_t nextLf = FindByte(data, size, 0, '\n');
    while (begin < size) {
        if (nextCr < begin) nextCr = FindByte(data, size, begin, '\r');
        if (nextLf < begin) nextLf = FindByte(data, size, begin, '\n');
        const std::size_t end = std::min(nextCr, nextLf);
        onLine(begin, end);
        if (end == size) return;
        const bool crLf = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n';
        begin = end + (crLf ? 2 : 1);
    }
}

}  // namespace iwv
