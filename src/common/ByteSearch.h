#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace iwv {

// Finds bytes a machine word at a time, with no branch on any single byte.
// Lines and fields are mostly a few dozen bytes long: a library call per
// search (memchr) costs more than such a search, and a file of a million
// lines makes many millions of them, so the searches are inlined where they
// are made. Word is the machine's own by default: eight bytes natively, four
// in the 32-bit library.
namespace byte_search {

template <typename Word>
constexpr Word kOnes = static_cast<Word>(~Word{0} / 0xFF);
template <typename Word>
constexpr Word kLowBits = static_cast<Word>(kOnes<Word> * 0x7F);
template <typename Word>
constexpr Word kHighBits = static_cast<Word>(kOnes<Word> * 0x80);

// A word of bytes from b with the first in the lowest place, whatever the
// machine's byte order; compilers make this one load where that order is
// the machine's.
template <typename Word>
[[gnu::always_inline]] inline Word Load(const unsigned char* b) {
    if constexpr (sizeof(Word) == 8) {
        return static_cast<Word>(std::uint64_t{b[0]} | std::uint64_t{b[1]} << 8 | std::uint64_t{b[2]} << 16 |
                                 std::uint64_t{b[3]} << 24 | std::uint64_t{b[4]} << 32 | std::uint64_t{b[5]} << 40 |
                                 std::uint64_t{b[6]} << 48 | std::uint64_t{b[7]} << 56);
    } else {
        static_assert(sizeof(Word) == 4, "a word is four or eight bytes");
        return static_cast<Word>(std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
                                 std::uint32_t{b[3]} << 24);
    }
}

// The last `count` bytes of a text, fewer than a word, as a word with zeros
// in the places past its end. Where the text is at least a word long, its
// last word is loaded and shifted; a shorter one is put together from loads
// that overlap where they must, with one jump at most.
template <typename Word>
[[gnu::always_inline]] inline Word LoadTail(const unsigned char* text, std::size_t size, std::size_t count) {
    if (size >= sizeof(Word)) return static_cast<Word>(Load<Word>(text + size - sizeof(Word)) >> (8 * (sizeof(Word) - count)));
    const unsigned char* const b = text + size - count;
    if (count >= 4) {
        const std::uint64_t low = Load<std::uint32_t>(b);
        const std::uint64_t high = Load<std::uint32_t>(b + count - 4);
        return static_cast<Word>(low | high << (8 * (count - 4)));
    }
    return static_cast<Word>(Word{b[0]} | Word{b[count / 2]} << (8 * (count / 2)) | Word{b[count - 1]} << (8 * (count - 1)));
}

template <typename Word>
Word Repeated(char c) {
    return static_cast<Word>(kOnes<Word> * static_cast<unsigned char>(c));
}

// The high bit of every byte of word equal to the byte repeated in pattern,
// and no other bit.
template <typename Word>
Word Equal(Word word, Word pattern) {
    const Word x = word ^ pattern;
    return static_cast<Word>(~(((x & kLowBits<Word>) + kLowBits<Word>) | x) & kHighBits<Word>);
}

// A high bit in the lowest byte of word equal to the byte repeated in
// pattern, if there is one, and none when there is not; bits above it may be
// false. Cheaper than Equal, for telling the many words without the byte from
// the few with it.
template <typename Word>
Word MayEqual(Word word, Word pattern) {
    const Word x = word ^ pattern;
    return static_cast<Word>((x - kOnes<Word>) & ~x & kHighBits<Word>);
}

// The same for bytes below 14, CR and LF among them.
template <typename Word>
Word MayBeControl(Word word) {
    return static_cast<Word>((word - kOnes<Word> * 14) & ~word & kHighBits<Word>);
}

template <typename Word>
std::size_t LowestByte(Word bits) {
    if constexpr (sizeof(Word) == 8)
        return static_cast<std::size_t>(__builtin_ctzll(bits)) / 8;
    else
        return static_cast<std::size_t>(__builtin_ctz(bits)) / 8;
}

// The number of bytes marked in bits, a mask with at most the high bit of
// each byte set: the marks, moved to the low bits, are summed into the top
// byte by one multiplication (a population count is no instruction of the
// oldest processors the library runs on).
template <typename Word>
int MarkCount(Word bits) {
    return static_cast<int>(static_cast<Word>((bits >> 7) * kOnes<Word>) >> (8 * (sizeof(Word) - 1)));
}

// Where the first byte of text from `from` on lies whose word `exact` marks,
// looking closer only at words that `likely` marks; text's size when there
// is none.
template <typename Word, typename Likely, typename Exact>
[[gnu::always_inline]] inline std::size_t FindFirst(std::string_view text, std::size_t from, Likely likely, Exact exact) {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t at = from;
    for (; size - at >= sizeof(Word); at += sizeof(Word)) {
        const Word word = Load<Word>(bytes + at);
        if (likely(word) == 0) continue;
        if (const Word found = exact(word)) return at + LowestByte(found);
    }
    if (at >= size) return size;
    const std::size_t count = size - at;
    const Word inText = static_cast<Word>((Word{1} << (8 * count)) - 1);
    const Word found = static_cast<Word>(exact(LoadTail<Word>(bytes, size, count)) & inText);
    return found ? at + LowestByte(found) : size;
}

}  // namespace byte_search

// Where c first occurs in text from `from` on; text's size when it does not.
template <typename Word = std::size_t>
[[gnu::always_inline]] inline std::size_t FindByte(std::string_view text, std::size_t from, char c) {
    using namespace byte_search;
    const Word pattern = Repeated<Word>(c);
    return FindFirst<Word>(
        text, from, [pattern](Word word) { return MayEqual(word, pattern); },
        [pattern](Word word) { return Equal(word, pattern); });
}

// Where the first CR or LF of text from `from` on lies; text's size when
// there is none.
template <typename Word = std::size_t>
[[gnu::always_inline]] inline std::size_t FindLineEnd(std::string_view text, std::size_t from) {
    using namespace byte_search;
    const Word cr = Repeated<Word>('\r');
    const Word lf = Repeated<Word>('\n');
    return FindFirst<Word>(
        text, from, [](Word word) { return MayBeControl(word); },
        [cr, lf](Word word) { return static_cast<Word>(Equal(word, cr) | Equal(word, lf)); });
}

// How often c occurs in text.
template <typename Word = std::size_t>
std::int64_t CountByte(std::string_view text, char c) {
    using namespace byte_search;
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const Word pattern = Repeated<Word>(c);
    std::int64_t count = 0;
    std::size_t at = 0;
    for (; text.size() - at >= sizeof(Word); at += sizeof(Word)) count += MarkCount(Equal(Load<Word>(bytes + at), pattern));
    if (at == text.size()) return count;
    const std::size_t tail = text.size() - at;
    const Word inText = static_cast<Word>((Word{1} << (8 * tail)) - 1);
    return count + MarkCount(static_cast<Word>(Equal(LoadTail<Word>(bytes, text.size(), tail), pattern) & inText));
}

}  // namespace iwv
