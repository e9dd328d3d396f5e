// A journal that stays bounded: whole entries, one older file, never more
// than twice its limit even where the older file cannot be replaced, and one
// process at a time.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/Journal.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"

namespace iwv::test {
namespace {

// Appends in these tests never find the journal held, unless they say so.
void NeverWaits(unsigned) { ADD_FAILURE() << "waited for a journal nobody held"; }

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
    const Journal journal((dir.Path() / "iwvestra.log").string(), &NeverWaits, c.limit);
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
    EXPECT_FALSE(Journal((dir.Path() / "iwvestra.log").string(), &NeverWaits).Append("entry\r\n"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "iwvestra.log" / "inside"));
}

// A directory where the older file belongs stands for any rotation that
// fails (a read-only older file, a viewer holding the journal against
// deletion): the journal grows on to twice its limit, no further, and always
// ends with the newest entry.
TEST(Journal, ThatCannotBeRotatedStaysWithinTwiceItsLimit) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "iwvestra.log.1" / "inside");
    const Journal journal((dir.Path() / "iwvestra.log").string(), &NeverWaits, 10);
    for (int i = 0; i < 12; ++i) {
        const std::string entry = "entry " + std::to_string(i % 10) + "\r\n";
        ASSERT_TRUE(journal.Append(entry));
        const std::string text = ReadBytes(dir.Path() / "iwvestra.log");
        ASSERT_LE(text.size(), 20u) << "after entry " << i;
        EXPECT_EQ(text.substr(text.size() - entry.size()), entry);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "iwvestra.log.1" / "inside"));
}

// Another import appending meanwhile holds the journal; this one waits,
// through the time service, and touches nothing until it may. Had it not
// waited, both would have moved the journal aside, the second one the first
// one's new file, over the history.
TEST(Journal, WaitsForAnotherAppendAndKeepsItsHistory) {
    TempDir dir;
    const std::string path = (dir.Path() / "iwvestra.log").string();
    WriteBytes(path, "history\r\n");
    std::unique_ptr<platform::FileLock> other;
    ASSERT_EQ(platform::FileLock::TryAcquire(path + ".lock", other), platform::FileLock::Status::Held);
    std::vector<unsigned> waits;
    const Journal journal(path, [&](unsigned milliseconds) {
        waits.push_back(milliseconds);
        EXPECT_EQ(ReadBytes(path), "history\r\n") << "touched while another held it";
        if (waits.size() < 3) return;
        // The other import's own append: it moves the full journal aside and
        // begins a new one, then lets go.
        ASSERT_TRUE(platform::RenameReplacing(path, path + ".1"));
        WriteBytes(path, "other\r\n");
        other.reset();
    }, 14);

    ASSERT_TRUE(journal.Append("mine\r\n"));
    EXPECT_EQ(waits, (std::vector<unsigned>(3, Journal::kLockWaitMilliseconds)));
    EXPECT_EQ(ReadBytes(path + ".1"), "history\r\n");
    EXPECT_EQ(ReadBytes(path), "other\r\nmine\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"iwvestra.log", "iwvestra.log.1"})) << "the lock is gone";
}

// One that another holds for good is appended to all the same, as long as
// that needs no rotation.
TEST(Journal, HeldForGoodIsAppendedToButNeverMoved) {
    TempDir dir;
    const std::string path = (dir.Path() / "iwvestra.log").string();
    std::unique_ptr<platform::FileLock> other;
    ASSERT_EQ(platform::FileLock::TryAcquire(path + ".lock", other), platform::FileLock::Status::Held);
    unsigned waits = 0;
    const Journal journal(path, [&](unsigned) { ++waits; }, 10);
    for (const char* entry : {"aaaa\r\n", "bbbb\r\n", "cccc\r\n", "dddd\r\n"}) journal.Append(entry);
    EXPECT_EQ(waits, 4u * Journal::kLockAttempts);
    EXPECT_EQ(ReadBytes(path), "aaaa\r\nbbbb\r\ncccc\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".1"));
}

}  // namespace
}  // namespace iwv::test
