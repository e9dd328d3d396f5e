// The host's count file is replaced, and still gets the new count while the
// host holds it open the way a program showing the previous count does,
// with no file of ours or of the system left beside it.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
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
    bool replaced;
};

// Held with reading and writing shared but not deletion, the file cannot be
// replaced and is written over in place, shorter than it was; held against
// writers, it keeps its old count.
const HeldCase kHeldCases[] = {
    {"Free", false, 0, 0, true},
    {"HeldForReadingAndWriting", true, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
    {"HeldAgainstWriters", true, GENERIC_READ, FILE_SHARE_READ, false},
};

ReplacementFile::Status ReplaceWith(const std::string& target, const std::string& bytes) {
    std::unique_ptr<ReplacementFile> file;
    const ReplacementFile::Status opened = ReplacementFile::OpenPreservingTarget(target, file);
    if (opened != ReplacementFile::Status::Ok) return opened;
    if (!file->Write(bytes.data(), bytes.size())) return ReplacementFile::Status::CannotWrite;
    return file->Commit();
}

class PreservingReplacement : public testing::TestWithParam<HeldCase> {};

TEST_P(PreservingReplacement, GivesTheNewCountOrKeepsTheOldAndLeavesNothingBeside) {
    const HeldCase& c = GetParam();
    TempDir dir;
    const std::string target = dir.File("remanent.txt");
    WriteBytes(target, kOldCount);
    const HANDLE held = c.held ? ::CreateFileA(target.c_str(), c.access, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE;
    ASSERT_EQ(c.held, held != INVALID_HANDLE_VALUE);
    const ReplacementFile::Status status = ReplaceWith(target, kNewCount);
    if (c.held) ::CloseHandle(held);
    EXPECT_EQ(status == ReplacementFile::Status::Ok, c.replaced);
    EXPECT_EQ(ReadBytes(target), c.replaced ? kNewCount : kOldCount);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"remanent.txt"});
}

INSTANTIATE_TEST_SUITE_P(Table, PreservingReplacement, testing::ValuesIn(kHeldCases),
                         [](const testing::TestParamInfo<HeldCase>& info) { return info.param.name; });

}  // namespace
}  // namespace iwv::platform
