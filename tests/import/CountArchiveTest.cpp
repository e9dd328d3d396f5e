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

std::vector<std::string> EntryNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
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

// One whole import into the archive, as the import makes it.
std::string ArchiveOneImport(const CountArchive& archive, const TempDir& dir) {
    CountArchive::Entry entry = archive.Begin({2026, 12, 8, 9, 31, 2});
    entry.KeepCount(dir.File("remanent.txt"));
    entry.TakeTerminalData(dir.File("inwin.txt"), [](unsigned) {});
    EXPECT_FALSE(entry.MarkImported());
    archive.RemoveOldest();
    return NameOf(entry.Folder());
}

TEST_P(CountArchivePrune, KeepsTheFiftyArchivedLastAndNothingElseIsTouched) {
    const PruneCase& c = GetParam();
    TempDir dir;
    const std::filesystem::path archive = dir.Path() / "archiwum";
    for (const std::string& name : c.before) std::filesystem::create_directories(archive / name);
    // Not imports, or counts never imported: never counted, never removed.
    const std::vector<std::string> others = {"notes", "000001_notes", "2026-01-01",
                                             "000000_2020-01-01_100000_niezaimportowany"};
    for (const std::string& other : others) std::filesystem::create_directories(archive / other);
    WriteBytes(dir.Path() / "inwin.txt", "77,1.5\r\n");
    WriteBytes(dir.Path() / "remanent.txt", "INW;5;1000\r\n");

    const CountArchive counts(platform::SystemFileSystem(), dir.Path().string());
    EXPECT_EQ(ArchiveOneImport(counts, dir), c.added);

    EXPECT_EQ(ReadBytes(archive / c.added / "remanent.txt"), "INW;5;1000\r\n");
    EXPECT_EQ(ReadBytes(archive / c.added / "inwin.txt"), "77,1.5\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "inwin.txt")) << "moved, not copied";
    EXPECT_FALSE(std::filesystem::exists(archive / c.removed));
    EXPECT_EQ(counts.Count().imported, CountArchive::kKept);
    EXPECT_EQ(counts.Count().notImported, 1u);
    for (const std::string& other : others) EXPECT_TRUE(std::filesystem::exists(archive / other)) << other;
}

INSTANTIATE_TEST_SUITE_P(Table, CountArchivePrune, testing::ValuesIn(kPruneCases),
                         [](const testing::TestParamInfo<PruneCase>& info) { return info.param.name; });

// A folder the terminal's count never reached holds nothing not kept
// elsewhere, and goes; one it reached stays, marked as not imported, until
// the count file has the count.
TEST(CountArchive, FolderStaysOnlyWhereTheTerminalsCountWent) {
    TempDir dir;
    WriteBytes(dir.Path() / "inwin.txt", "77,1.5\r\n");
    WriteBytes(dir.Path() / "remanent.txt", "INW;5;1000\r\n");
    const CountArchive archive(platform::SystemFileSystem(), dir.Path().string());
    {
        CountArchive::Entry entry = archive.Begin({2026, 12, 8, 9, 31, 2});
        entry.KeepCount(dir.File("remanent.txt"));
        EXPECT_EQ(NameOf(entry.KeptCount()), "remanent.txt");
        EXPECT_EQ(ReadBytes(dir.Path() / "archiwum" / "000001_2026-12-08_093102_niezaimportowany" / "remanent.txt"),
                  "INW;5;1000\r\n");
    }
    EXPECT_EQ(EntryNames(dir.Path() / "archiwum"), std::vector<std::string>{});
    {
        CountArchive::Entry entry = archive.Begin({2026, 12, 8, 9, 31, 2});
        entry.KeepCount(dir.File("missing.txt"));
        EXPECT_EQ(entry.KeptCount(), "");
        entry.TakeTerminalData(dir.File("inwin.txt"), [](unsigned) {});
    }
    EXPECT_EQ(EntryNames(dir.Path() / "archiwum"), std::vector<std::string>{"000001_2026-12-08_093102_niezaimportowany"});
    EXPECT_EQ(archive.Count().imported, 0u);
    EXPECT_EQ(archive.Count().notImported, 1u);
}

}  // namespace
}  // namespace iwv::test
