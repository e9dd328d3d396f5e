// A journal that stays bounded: whole entries, one older file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "common/Journal.h"

namespace iwv::test {
namespace {

TEST(Journal, EntriesAreAppendedWhole) {
    TempDir dir;
    const Journal journal((dir.Path() / "iwvestra.log").string());
    ASSERT_TRUE(journal.Append("one\r\n"));
    ASSERT_TRUE(journal.Append("two\r\n"));
    EXPECT_EQ(ReadBytes(dir.Path() / "iwvestra.log"), "one\r\ntwo\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "iwvestra.log.1"));
}

TEST(Journal, AnEntryThatWouldPassTheLimitBeginsANewFileAndOneOlderIsKept) {
    TempDir dir;
    const Journal journal((dir.Path() / "iwvestra.log").string(), 10);
    for (const char* entry : {"aaaa\r\n", "bbbb\r\n", "cccc\r\n", "dddd\r\n"}) ASSERT_TRUE(journal.Append(entry));
    EXPECT_EQ(ReadBytes(dir.Path() / "iwvestra.log"), "dddd\r\n");
    EXPECT_EQ(ReadBytes(dir.Path() / "iwvestra.log.1"), "cccc\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 2);
}

TEST(Journal, AnEntryUpToTheLimitStaysInTheFile) {
    TempDir dir;
    const Journal journal((dir.Path() / "iwvestra.log").string(), 12);
    ASSERT_TRUE(journal.Append("aaaa\r\n"));
    ASSERT_TRUE(journal.Append("bbbb\r\n"));
    EXPECT_EQ(ReadBytes(dir.Path() / "iwvestra.log"), "aaaa\r\nbbbb\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "iwvestra.log.1"));
}

TEST(Journal, ThatCannotBeWrittenSaysSoAndLeavesWhatIsThere) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "iwvestra.log" / "inside");
    EXPECT_FALSE(Journal((dir.Path() / "iwvestra.log").string()).Append("entry\r\n"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "iwvestra.log" / "inside"));
}

}  // namespace
}  // namespace iwv::test
