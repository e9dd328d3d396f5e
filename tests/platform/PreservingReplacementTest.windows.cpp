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

ReplacementFile::Status ReplaceWith(const std::string& target, const std::string& bytes) {
    std::unique_ptr<ReplacementFile> file;
    const ReplacementFile::Status opened = ReplacementFile::OpenPreservingTarget(target, file);
    if (opened != ReplacementFile::Status::Ok) return opened;
    if (!file->Write(bytes.data(), bytes.size())) return ReplacementFile::Status::CannotWrite;
    return file->Commit();
}

TEST(PreservingReplacement, FreeFileIsReplaced) {
    TempDir dir;
    const std::string target = dir.File("remanent.txt");
    WriteBytes(target, "INW;1;1000\r\nINW;2;2000\r\n");
    EXPECT_EQ(ReplaceWith(target, "INW;77;1500\r\n"), ReplacementFile::Status::Ok);
    EXPECT_EQ(ReadBytes(target), "INW;77;1500\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"remanent.txt"});
}

// Held open with reading and writing shared but not deletion: it cannot be
// replaced, so the new count is written over it, shorter than the old one.
TEST(PreservingReplacement, FileHeldOpenIsWrittenOverInPlace) {
    TempDir dir;
    const std::string target = dir.File("remanent.txt");
    WriteBytes(target, "INW;1;1000\r\nINW;2;2000\r\nINW;3;3000\r\n");
    const HANDLE held = ::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ReplacementFile::Status status = ReplaceWith(target, "INW;77;1500\r\n");
    ::CloseHandle(held);
    EXPECT_EQ(status, ReplacementFile::Status::Ok);
    EXPECT_EQ(ReadBytes(target), "INW;77;1500\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"remanent.txt"});
}

// Held without sharing writing, it can be neither replaced nor written: the
// old count stays, and no copy is left beside it.
TEST(PreservingReplacement, FileHeldAgainstWritersStaysAsItWas) {
    TempDir dir;
    const std::string target = dir.File("remanent.txt");
    WriteBytes(target, "INW;1;1000\r\n");
    const HANDLE held =
        ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ReplacementFile::Status status = ReplaceWith(target, "INW;77;1500\r\n");
    ::CloseHandle(held);
    EXPECT_NE(status, ReplacementFile::Status::Ok);
    EXPECT_EQ(ReadBytes(target), "INW;1;1000\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"remanent.txt"});
}

}  // namespace
}  // namespace iwv::platform
