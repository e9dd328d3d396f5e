#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace iwv {

// Where the bytes of a text lie that end lines or the text (CR, LF, NUL),
// and the separators: a bit per byte, bit b of word w for byte 64 w + b, and
// no bit past the text. Lines and fields are a few dozen bytes long, so a
// search per line end or per field would cost more in starting than in
// searching; marking a whole block in one pass looks at each byte once, and
// the line loop then finds a line's end and its separators with a bit scan.

// The words a text of that many bytes needs in each map.
constexpr std::size_t MarkWords(std::size_t bytes) { return (bytes + 63) / 64; }

// Marks text into ends and separators, MarkWords(text.size()) words each.
// '\0' as the separator marks none. The fastest this processor has.
void MarkBytes(std::string_view text, char separator, std::uint64_t* ends, std::uint64_t* separators);

// The same a byte at a time: for processors without SSE2, and the reference
// the fast one is held to.
void MarkBytesScalar(std::string_view text, char separator, std::uint64_t* ends, std::uint64_t* separators);

}  // namespace iwv
