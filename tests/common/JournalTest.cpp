// A journal that stays bounded: whole entries, one older file, never more
// than twice its limit even where the older file cannot be replaced.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/Journal.h"
#include "platform/FileSystem.h"

namespace iwv::test {
namespace {

struct LimitCase {
    const char* name;
    std::uint64_t limit;
    std::vector<std::string> entries;
    std::string journal;
    std::optional<std::string> older;  // none when there is no older file
};

// An entry that would pass the limit begins a new file, and only one older
// file is kept; one that reaches the limit exactly still fits.
const LimitCase kLimitCases[] = {
    {"EntriesAreAppendedWhole", Journal::kDefaultLimit, {"one\r\n", "two\r\n"}, "one\r\ntwo\r\n", std::nullopt},
    {"EntryUpToTheLimitStays", 12, {"aaaa\r\n", "bbbb\r\n"}, "aaaa\r\nbbbb\r\n", std::nullopt},
    {"EntryPastTheLimitBeginsANewFile", 10, {"aaaa\r\n", "bbbb\r\n", "cccc\r\n", "dddd\r\n"}, "dddd\r\n",
     "cccc\r\n"},
};

class JournalLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(JournalLimit, KeepsTheFileBounded) {
    const LimitCase& c = GetParam();
    TempDir dir;
    const Journal journal(platform::SystemFileSystem(), (dir.Path() / "iwvestra.log").string(), c.limit);
    for (const std::string& entry : c.entries) ASSERT_TRUE(journal.Append(entry));
    EXPECT_EQ(ReadBytes(dir.Path() / "iwvestra.log"), c.journal);
    std::vector<std::string> names{"iwvestra.log"};
    if (c.older) {
        names.push_back("iwvestra.log.1");
        EXPECT_EQ(ReadBytes(dir.Path() / "iwvestra.log.1"), *c.older);
    }
    EXPECT_EQ(dir.Names(), names);
}

INSTANTIATE_TEST_SUITE_P(Table, JournalLimit, testing::ValuesIn(kLimitCases),
                         [](const testing::TestParamInfo<LimitCase>& info) { return info.param.name; });

TEST(Journal, ThatCannotBeWrittenSaysSoAndLeavesWhatIsThere) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "iwvestra.log" / "inside");
    EXPECT_FALSE(Journal(platform::SystemFileSystem(), (dir.Path() / "iwvestra.log").string()).Append("entry\r\n"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "iwvestra.log" / "inside"));
}

// A directory where the older file belongs stands for any rotation that
// fails (a read-only older file, a viewer holding the journal against
// deletion): the journal grows on to twice its limit, no further, and always
// ends with the newest entry.
TEST(Journal, ThatCannotBeRotatedStaysWithinTwiceItsLimit) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "iwvestra.log.1" / "inside");
    const Journal journal(platform::SystemFileSystem(), (dir.Path() / "iwvestra.log").string(), 10);
    for (int i = 0; i < 12; ++i) {
        const std::string entry = "entry " + std::to_string(i % 10) + "\r\n";
        ASSERT_TRUE(journal.Append(entry));
        const std::string text = ReadBytes(dir.Path() / "iwvestra.log");
        ASSERT_LE(text.size(), 20u) << "after entry " << i;
        EXPECT_EQ(text.substr(text.size() - entry.size()), entry);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "iwvestra.log.1" / "inside"));
}

}  // namespace
}  // namespace iwv::test
