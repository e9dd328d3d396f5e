#include "common/LineFileReader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "TestFiles.h"
#include "support/ErrorOf.h"

namespace iwv {
namespace {

using test::ErrorOf;
using test::TempDir;
using test::WriteBytes;

constexpr std::size_t kBlock = LineFileReader::kBlockBytes;

// Every line of the file, as the splitter sees it with no separator set, a
// long one read back from the file past what the splitter holds of it.
std::vector<std::string> LinesOf(const std::string& path) {
    LineFileReader reader(platform::SystemFileSystem(), path);
    WordSplitter line;
    std::vector<std::string> lines;
    const std::uint64_t count = reader.ForEachLine(line, [&] {
        lines.emplace_back();
        reader.ForEachPiece(line, 0, 0, line.FieldSize(0), [&](std::string_view bytes) { lines.back() += bytes; });
    });
    EXPECT_EQ(count, lines.size());
    return lines;
}

// Lines of every length up to beyond a block, with every kind of line end,
// so that block ends fall inside lines and between CR and LF.
TEST(LineFileReader, ReadsEveryLineOfAFileOfManyBlocks) {
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; bytes.size() < 5 * kBlock; ++i) {
        const std::size_t length = i % 50 == 49 ? kBlock + 7 : static_cast<std::size_t>(i * 7919 % 300);
        expected.push_back(std::string(length, static_cast<char>('a' + i % 26)));
        bytes += expected.back() + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    TempDir dir;
    WriteBytes(dir.File("in.txt"), bytes);
    EXPECT_EQ(LinesOf(dir.File("in.txt")), expected);
}

TEST(LineFileReader, KeepsACrLfThatABlockEndSplitsOneLineEnd) {
    const std::string first(kBlock - 1, 'a');
    TempDir dir;
    WriteBytes(dir.File("in.txt"), first + "\r\nb\r\n");
    EXPECT_EQ(LinesOf(dir.File("in.txt")), (std::vector<std::string>{first, "b"}));
}

TEST(LineFileReader, CannotOpenAMissingFileOrADirectory) {
    TempDir dir;
    for (const std::string& path : {dir.File("missing.txt"), dir.Path().string()}) {
        EXPECT_EQ(ErrorOf([&] { LineFileReader reader(platform::SystemFileSystem(), path); }), "Cannot open file " + path);
    }
}

}  // namespace
}  // namespace iwv
