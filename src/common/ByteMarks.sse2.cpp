#include "common/ByteMarks.h"

#include <emmintrin.h>

#include <cstring>

namespace iwv {
namespace {

// Marks 64 bytes: four compares of 16 each, a mask per compare.
inline void MarkChunk(const unsigned char* bytes, __m128i separator, std::uint64_t& ends, std::uint64_t& separators) {
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

}  // namespace

void MarkBytes(std::string_view text, char separator, std::uint64_t* ends, std::uint64_t* separators) {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const __m128i separatorBytes = _mm_set1_epi8(separator);
    const std::uint64_t separated = separator == '\0' ? 0 : ~std::uint64_t{0};
    std::size_t w = 0;
    for (; text.size() - 64 * w >= 64; ++w) {
        MarkChunk(bytes + 64 * w, separatorBytes, ends[w], separators[w]);
        separators[w] &= separated;
    }
    if (64 * w < text.size()) {
        // The last bytes are copied out first, so that nothing past the text
        // is read.
        alignas(16) unsigned char tail[64] = {};
        const std::size_t count = text.size() - 64 * w;
        std::memcpy(tail, bytes + 64 * w, count);
        const std::uint64_t inText = (std::uint64_t{1} << count) - 1;
        MarkChunk(tail, separatorBytes, ends[w], separators[w]);
        ends[w] &= inText;
        separators[w] &= separated & inText;
    }
}

}  // namespace iwv
