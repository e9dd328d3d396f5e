#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace iwv {

// Finds where the bytes of a text lie that end lines or fields: CR, LF and
// NUL, and a separator. The text is looked at 64 bytes at a time with SSE2,
// which every processor the library runs on has: one pass marks every such
// byte of the 64 in two bit masks, and the marks are written out as
// positions in tight loops that do nothing else. Lines and fields are a few
// dozen bytes long, so a search per line end or per field would cost more in
// starting than in searching; this way each byte is looked at once.
namespace byte_marks {

constexpr std::size_t kChunkBytes = 64;

// Bit i of ends marks byte i of the 64 as CR, LF or NUL; of separators, as
// the separator.
inline void Chunk(const unsigned char* bytes, __m128i separator, std::uint64_t& ends, std::uint64_t& separators) {
    ends = 0;
    separators = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
        const __m128i lineEnds = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        const __m128i textEnds = _mm_or_si128(lineEnds, _mm_cmpeq_epi8(v, _mm_setzero_si128()));
        ends |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(textEnds))} << (16 * i);
        separators |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, separator)))} << (16 * i);
    }
}

inline std::uint32_t* Positions(std::uint64_t marks, std::uint32_t base, std::uint32_t* positions) {
    for (; marks != 0; marks &= marks - 1) *positions++ = base + static_cast<std::uint32_t>(__builtin_ctzll(marks));
    return positions;
}

}  // namespace byte_marks

// Where every CR, LF and NUL of a text lies, and every separator.
struct Marks {
    std::uint32_t* endsEnd;        // past the last position written to ends
    std::uint32_t* separatorsEnd;  // past the last position written to separators
};

// Writes to ends, in order, the position of every CR, LF and NUL of text, and
// to separators that of every separator, none for '\0'. Each has room for
// one position per byte of text, which is shorter than 4 GiB.
inline Marks FindMarks(std::string_view text, char separator, std::uint32_t* ends, std::uint32_t* separators) {
    using namespace byte_marks;
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const __m128i separatorBytes = _mm_set1_epi8(separator);
    const std::uint64_t separated = separator == '\0' ? 0 : ~std::uint64_t{0};
    std::uint64_t endBits = 0;
    std::uint64_t separatorBits = 0;
    std::size_t at = 0;
    for (; text.size() - at >= kChunkBytes; at += kChunkBytes) {
        Chunk(bytes + at, separatorBytes, endBits, separatorBits);
        ends = Positions(endBits, static_cast<std::uint32_t>(at), ends);
        separators = Positions(separatorBits & separated, static_cast<std::uint32_t>(at), separators);
    }
    if (at < text.size()) {
        // The last bytes are copied out first, so that nothing past the text
        // is read.
        alignas(16) unsigned char tail[kChunkBytes] = {};
        const std::size_t count = text.size() - at;
        std::memcpy(tail, bytes + at, count);
        const std::uint64_t inText = (std::uint64_t{1} << count) - 1;
        Chunk(tail, separatorBytes, endBits, separatorBits);
        ends = Positions(endBits & inText, static_cast<std::uint32_t>(at), ends);
        separators = Positions(separatorBits & separated & inText, static_cast<std::uint32_t>(at), separators);
    }
    return {ends, separators};
}

}  // namespace iwv
