// The count archive keeps the imports archived last, in the order they were
// archived, whatever the clock said when they were named.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "import/CountArchive.h"

namespace iwv::test {
namespace {

// count names of import directories, "%d" filled with 1, 2, 3 ...
std::vector<std::string> Names(const char* pattern, int count, int from = 1) {
    std::vector<std::string> names;
    for (int i = from; i < from + count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, pattern, i);
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A directory's own name in a path the library made.
std::string NameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

struct PruneCase {
    const char* name;
    std::vector<std::string> before;  // the archive's directories before the import
    std::string added;                // the new import's directory
    std::string removed;              // the one it pushes out
};

// Every import below is archived at 2026-12-08 09:31:02.
const PruneCase kPruneCases[] = {
    // Named before imports were numbered, by a clock that was then set ahead.
    {"UnnumberedFromAClockAhead", Names("2030-01-01_10%02d00", 50, 0), "000001_2026-12-08_093102",
     "2030-01-01_100000"},
    {"NumberedFromAClockAhead", Names("%06d_2030-01-01_100000", 50), "000051_2026-12-08_093102",
     "000001_2030-01-01_100000"},
    // Unnumbered ones were all archived before any numbered one.
    {"UnnumberedGoFirst",
     Join(Names("%06d_2020-01-01_100000", 25, 7), Names("2026-01-01_10%02d00", 25, 10)),
     "000032_2026-12-08_093102", "2026-01-01_101000"},
    {"SameSecondSuffixesKeepTheirOrder",
     Join(Names("2026-01-01_100000_%02d", 48, 2), {"2026-01-01_100000", "000003_2025-01-01_100000"}),
     "000004_2026-12-08_093102", "2026-01-01_100000"},
};

void PrintTo(const PruneCase& c, std::ostream* out) { *out << c.name; }

class CountArchivePrune : public testing::TestWithParam<PruneCase> {};

TEST_P(CountArchivePrune, KeepsTheFiftyArchivedLastAndNothingElseIsTouched) {
    const PruneCase& c = GetParam();
    TempDir dir;
    const std::filesystem::path archive = dir.Path() / "archiwum";
    for (const std::string& name : c.before) std::filesystem::create_directories(archive / name);
    // Not imports: never counted, never removed.
    for (const char* other : {"notes", "000001_notes", "2026-01-01"}) std::filesystem::create_directories(archive / other);
    WriteBytes(dir.Path() / "inwin.txt", "77,1.5\r\n");
    WriteBytes(dir.Path() / "remanent.txt", "INW;5;1000\r\n");

    const CountArchive counts(dir.Path().string());
    const CountArchive::Stored stored =
        counts.Store({2026, 12, 8, 9, 31, 2}, dir.File("remanent.txt"), dir.File("inwin.txt"));

    EXPECT_TRUE(stored.countKept && stored.terminalDataKept);
    EXPECT_EQ(NameOf(stored.directory), c.added);
    EXPECT_EQ(ReadBytes(archive / c.added / "remanent.txt"), "INW;5;1000\r\n");
    EXPECT_EQ(ReadBytes(archive / c.added / "inwin.txt"), "77,1.5\r\n");
    EXPECT_FALSE(std::filesystem::exists(archive / c.removed));
    EXPECT_EQ(counts.Count(), CountArchive::kKept);
    for (const char* other : {"notes", "000001_notes", "2026-01-01"}) EXPECT_TRUE(std::filesystem::exists(archive / other));
}

INSTANTIATE_TEST_SUITE_P(Table, CountArchivePrune, testing::ValuesIn(kPruneCases),
                         [](const testing::TestParamInfo<PruneCase>& info) { return info.param.name; });

// The terminal's count is archived even where the count file cannot be, and a
// missing count file is no loss.
TEST(CountArchive, KeepsTheTerminalsCountWhateverBecameOfTheCountFile) {
    TempDir dir;
    WriteBytes(dir.Path() / "inwin.txt", "77,1.5\r\n");
    std::filesystem::create_directories(dir.Path() / "unreadable.txt");
    const CountArchive counts(dir.Path().string());

    const CountArchive::Stored unreadable =
        counts.Store({2026, 12, 8, 9, 31, 2}, dir.File("unreadable.txt"), dir.File("inwin.txt"));
    EXPECT_FALSE(unreadable.countKept);
    EXPECT_TRUE(unreadable.terminalDataKept);
    EXPECT_EQ(ReadBytes(dir.Path() / "archiwum" / NameOf(unreadable.directory) / "inwin.txt"), "77,1.5\r\n");

    const CountArchive::Stored missing =
        counts.Store({2026, 12, 8, 9, 31, 2}, dir.File("missing.txt"), dir.File("inwin.txt"));
    EXPECT_TRUE(missing.countKept && missing.terminalDataKept);
    EXPECT_EQ(counts.Count(), 2u);
}

}  // namespace
}  // namespace iwv::test
