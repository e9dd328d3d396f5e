#include "common/ByteSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace iwv {
namespace {

// Texts of every length up to three words and a half, with the byte sought
// at every place, once or twice, among neighbours that the word tricks could
// mistake for it: the byte with its lowest bit flipped (a borrow turns it into
// a match), with its high bit set, and bytes below 14 that are not CR or LF.
template <typename Word>
void ExpectTheSearchesOfEveryPlacement(char sought) {
    const std::string neighbours = {static_cast<char>(sought ^ 1), static_cast<char>(sought | 0x80), '\t', '\0',
                                    'a', static_cast<char>(0xFF)};
    for (std::size_t size = 0; size <= 3 * sizeof(Word) + sizeof(Word) / 2; ++size) {
        for (std::size_t first = 0; first <= size; ++first) {
            for (std::size_t second = first; second <= size; ++second) {
                std::string text(size, 'x');
                for (std::size_t i = 0; i < size; ++i) text[i] = neighbours[(i + first + second) % neighbours.size()];
                if (first < size) text[first] = sought;
                if (second < size) text[second] = sought;
                SCOPED_TRACE(testing::Message() << sizeof(Word) << "-byte words, " << testing::PrintToString(text));
                const std::string_view view = text;
                for (std::size_t from = 0; from <= size; ++from) {
                    const std::size_t expected = std::min(view.find(sought, from), size);
                    EXPECT_EQ(FindByte<Word>(view, from, sought), expected) << "from " << from;
                    if (sought == '\r' || sought == '\n') {
                        EXPECT_EQ(FindLineEnd<Word>(view, from), std::min(view.find_first_of("\r\n", from), size))
                            << "from " << from;
                    }
                }
                EXPECT_EQ(CountByte<Word>(view, sought), std::count(text.begin(), text.end(), sought));
            }
        }
    }
}

TEST(ByteSearch, FindsAndCountsEveryPlacementInWordsOfEightBytes) {
    for (char sought : {';', ',', '.', '\r', '\n', '\x80', '\xFF'}) ExpectTheSearchesOfEveryPlacement<std::uint64_t>(sought);
}

// The words of the 32-bit library.
TEST(ByteSearch, FindsAndCountsEveryPlacementInWordsOfFourBytes) {
    for (char sought : {';', ',', '.', '\r', '\n', '\x80', '\xFF'}) ExpectTheSearchesOfEveryPlacement<std::uint32_t>(sought);
}

}  // namespace
}  // namespace iwv
