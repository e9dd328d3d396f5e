#include "common/ByteMarks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace iwv {
namespace {

using Positions = std::vector<std::uint32_t>;

constexpr std::uint64_t kUnwritten = 0xDEADBEEFDEADBEEF;

// The positions a map marks, in order.
Positions Decoded(const std::vector<std::uint64_t>& words) {
    Positions positions;
    for (std::size_t w = 0; w < words.size(); ++w)
        for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1)
            positions.push_back(static_cast<std::uint32_t>(64 * w + static_cast<std::size_t>(__builtin_ctzll(bits))));
    return positions;
}

// The line ends, then the separators, as marks fills its maps; fails the
// test where it wrote past the words the text needs.
template <typename Marks>
std::pair<Positions, Positions> MarkedBy(Marks marks, std::string_view text, char separator) {
    const std::size_t words = MarkWords(text.size());
    std::vector<std::uint64_t> ends(words + 1, kUnwritten);
    std::vector<std::uint64_t> separators(words + 1, kUnwritten);
    marks(text, separator, ends.data(), separators.data());
    EXPECT_EQ(ends[words], kUnwritten);
    EXPECT_EQ(separators[words], kUnwritten);
    ends.resize(words);
    separators.resize(words);
    return {Decoded(ends), Decoded(separators)};
}

// The fast marks and the scalar ones, which must agree.
std::pair<Positions, Positions> MarksOf(std::string_view text, char separator) {
    const auto fast = MarkedBy(&MarkBytes, text, separator);
    EXPECT_EQ(fast, MarkedBy(&MarkBytesScalar, text, separator));
    return fast;
}

std::pair<Positions, Positions> ExpectedMarks(const std::string& text, char separator) {
    std::pair<Positions, Positions> marks;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n' || c == '\0') marks.first.push_back(static_cast<std::uint32_t>(i));
        if (c == separator && separator != '\0') marks.second.push_back(static_cast<std::uint32_t>(i));
    }
    return marks;
}

// Texts up to three chunks and a half long, every length near a chunk's end,
// with a marked byte at every place, once or twice, among bytes that differ
// from the marked ones in one bit or that have the high bit set (signed
// compares would take them for small ones).
TEST(ByteMarks, FindsEveryMarkedByteInOrderWhereverItLies) {
    const std::string filler = {'\x0c', '\x0b', '\x8d', '\x8a', '\x80', '\xff', 'a', ':', '-', '\x01', '\t'};
    const char marked[] = {';', ',', '\r', '\n', '\0'};
    std::vector<std::size_t> sizes;
    for (std::size_t size = 0; size <= 70; ++size) sizes.push_back(size);
    for (std::size_t size : {127, 128, 129, 191, 192, 193, 224}) sizes.push_back(size);
    for (const std::size_t size : sizes) {
        for (std::size_t first = 0; first <= size; first += size > 70 ? 7 : 1) {
            for (std::size_t second = first; second <= size; second += size > 70 ? 5 : 1) {
                std::string text(size, 'x');
                for (std::size_t i = 0; i < size; ++i) text[i] = filler[(i + first + second) % filler.size()];
                if (first < size) text[first] = marked[(first + size) % 5];
                if (second < size) text[second] = marked[second % 5];
                for (const char separator : {';', ',', '\0'}) {
                    SCOPED_TRACE(testing::Message() << "size " << size << ", marks at " << first << " and " << second
                                                    << ", separator " << int{separator});
                    ASSERT_EQ(MarksOf(text, separator), ExpectedMarks(text, separator));
                }
            }
        }
    }
}

// Chunks of many marks, runs of every length up to two chunks, and a mark on
// the very last bit of a chunk.
TEST(ByteMarks, FindsEveryMarkOfDenseRuns) {
    for (std::size_t run = 1; run <= 130; ++run) {
        for (const std::size_t start : {std::size_t{0}, std::size_t{1}, std::size_t{63}, 64 - run % 64}) {
            std::string text(start + run + 70, 'x');
            for (std::size_t i = 0; i < run; ++i) text[start + i] = i % 3 == 0 ? '\n' : ';';
            SCOPED_TRACE(testing::Message() << "run " << run << " from " << start);
            ASSERT_EQ(MarksOf(text, ';'), ExpectedMarks(text, ';'));
            ASSERT_EQ(MarksOf(std::string_view(text.data(), start + run), ';'),
                      ExpectedMarks(text.substr(0, start + run), ';'));
        }
    }
}

// A text's last chunk is read from a copy: a text that ends right before
// bytes that would be marked does not see them.
TEST(ByteMarks, NeverLooksPastTheText) {
    const std::string bytes(200, ';');
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_EQ(MarksOf(std::string_view(bytes.data(), size), ','), (std::pair<Positions, Positions>{})) << size;
}

}  // namespace
}  // namespace iwv
