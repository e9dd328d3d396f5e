#include "common/ByteMarks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace iwv {
namespace {

using Positions = std::vector<std::uint32_t>;

constexpr std::uint32_t kUnwritten = 0xDEADBEEF;  // no position of a text this short

// The line ends, then the separators; fails the test where FindMarks wrote
// past the room it was given.
std::pair<Positions, Positions> MarksOf(std::string_view text, char separator) {
    const std::size_t room = text.size();
    Positions ends(room + 1, kUnwritten);
    Positions separators(room + 1, kUnwritten);
    const Marks marks = FindMarks(text, separator, ends.data(), separators.data());
    EXPECT_EQ(ends[room], kUnwritten);
    EXPECT_EQ(separators[room], kUnwritten);
    ends.resize(static_cast<std::size_t>(marks.endsEnd - ends.data()));
    separators.resize(static_cast<std::size_t>(marks.separatorsEnd - separators.data()));
    return {ends, separators};
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
