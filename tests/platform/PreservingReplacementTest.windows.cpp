// The host's count file is archived and replaced, and still gets the new
// count while the host holds it open the way a program showing the previous
// count does, with no file of ours or of the system left beside it.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/Error.h"
#include "common/FileCopy.h"
#include "common/ReplacementFile.h"
#include "platform/FileSystem.h"

namespace iwv::platform {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr char kOldCount[] = "INW;1;1000\r\nINW;2;2000\r\nINW;3;3000\r\n";
constexpr char kNewCount[] = "INW;77;1500\r\n";

struct HeldCase {
    const char* name;
    bool held;
    DWORD access;
    DWORD sharing;
    bool archived;  // a copy of the old count can be made first
    bool replaced;
};

// Held with reading and writing shared but not deletion, the file cannot be
// replaced and is written over in place, shorter than it was; held against
// writers, it keeps its old count. Whoever lets it be read lets it be copied
// to the archive first.
const HeldCase kHeldCases[] = {
    {"Free", false, 0, 0, true, true},
    {"HeldForReadingAndWriting", true, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, true, true},
    {"HeldAgainstWriters", true, GENERIC_READ, FILE_SHARE_READ, true, false},
    {"HeldAgainstEveryone", true, GENERIC_READ | GENERIC_WRITE, 0, false, false},
};

// Whether the count file could be replaced.
bool ReplaceWith(const std::string& target, const std::string& bytes) {
    try {
        ReplacementFile file(SystemFileSystem(), {target, true});
        file.Write(bytes.data(), bytes.size());
        file.Commit();
        return true;
    } catch (const Error&) {
        return false;
    }
}

void PrintTo(const HeldCase& c, std::ostream* out) { *out << c.name; }

class PreservingReplacement : public testing::TestWithParam<HeldCase> {};

TEST_P(PreservingReplacement, GivesTheNewCountOrKeepsTheOldAndLeavesNothingBeside) {
    const HeldCase& c = GetParam();
    TempDir dir;
    const std::string target = dir.File("remanent.txt");
    WriteBytes(target, kOldCount);
    const HANDLE held = c.held ? ::CreateFileA(target.c_str(), c.access, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE;
    ASSERT_EQ(c.held, held != INVALID_HANDLE_VALUE);
    const bool archived =
        !CopyToNewFile(SystemFileSystem(), target, dir.File("archived.txt"), FileSystem::Sharing::AllowAll);
    EXPECT_EQ(archived, c.archived);
    if (archived) {
        EXPECT_EQ(ReadBytes(dir.File("archived.txt")), kOldCount);
    }
    ::DeleteFileA(dir.File("archived.txt").c_str());
    const bool replaced = ReplaceWith(target, kNewCount);
    if (c.held) ::CloseHandle(held);
    EXPECT_EQ(replaced, c.replaced);
    EXPECT_EQ(ReadBytes(target), c.replaced ? kNewCount : kOldCount);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"remanent.txt"});
}

INSTANTIATE_TEST_SUITE_P(Table, PreservingReplacement, testing::ValuesIn(kHeldCases),
                         [](const testing::TestParamInfo<HeldCase>& info) { return info.param.name; });

}  // namespace
}  // namespace iwv::platform
