#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"

namespace iwv::platform {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using namespace std::string_literals;

std::string BytesOf(const FileBytes& contents) { return std::string(contents.data.get(), contents.size); }

TEST(ReadWholeFile, ReadsEveryByte) {
    std::string bytes = "a\0b\r\n\xA5\xFF"s;
    for (int i = 0; i < 20000; ++i) bytes += std::to_string(i);
    TempDir dir;
    WriteBytes(dir.File("in.bin"), bytes);
    FileBytes contents;
    ASSERT_TRUE(ReadWholeFile(dir.File("in.bin"), contents));
    EXPECT_EQ(BytesOf(contents), bytes);
    EXPECT_GE(contents.capacity, contents.size);
}

TEST(ReadWholeFile, ReadsAnEmptyFile) {
    TempDir dir;
    WriteBytes(dir.File("empty.txt"), "");
    FileBytes contents;
    ASSERT_TRUE(ReadWholeFile(dir.File("empty.txt"), contents));
    EXPECT_EQ(contents.size, 0u);
}

TEST(ReadWholeFile, FailsForMissingFileAndDirectory) {
    TempDir dir;
    FileBytes contents;
    EXPECT_FALSE(ReadWholeFile(dir.File("missing.txt"), contents));
    EXPECT_FALSE(ReadWholeFile(dir.Path().string(), contents));
}

TEST(RemoveFile, RemovesAnExistingFileOnly) {
    TempDir dir;
    WriteBytes(dir.File("inwin.txt"), "A,1\r\n");
    EXPECT_TRUE(RemoveFile(dir.File("inwin.txt")));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
    EXPECT_FALSE(RemoveFile(dir.File("inwin.txt")));
}

TEST(Directories, ExistAndWritable) {
    TempDir dir;
    WriteBytes(dir.File("file.txt"), "x");
    EXPECT_TRUE(DirectoryExists(dir.Path().string()));
    EXPECT_FALSE(DirectoryExists(dir.File("file.txt")));
    EXPECT_FALSE(DirectoryExists(dir.File("missing")));
    EXPECT_TRUE(DirectoryWritable(dir.Path().string()));
    EXPECT_FALSE(DirectoryWritable(dir.File("missing")));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"file.txt"});
}

TEST(ReplacementFile, CommitReplacesTheTarget) {
    TempDir dir;
    const std::string target = dir.File("out.txt");
    WriteBytes(target, "old content that is longer");
    std::unique_ptr<ReplacementFile> file;
    ASSERT_EQ(ReplacementFile::Open(target, file), ReplacementFile::Status::Ok);
    ASSERT_TRUE(file->Write("new", 3));
    EXPECT_EQ(ReadBytes(target), "old content that is longer");
    ASSERT_EQ(file->Commit(), ReplacementFile::Status::Ok);
    file.reset();
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.txt"});
}

TEST(ReplacementFile, CommitCreatesAMissingTarget) {
    TempDir dir;
    std::unique_ptr<ReplacementFile> file;
    ASSERT_EQ(ReplacementFile::Open(dir.File("out.txt"), file), ReplacementFile::Status::Ok);
    ASSERT_EQ(file->Commit(), ReplacementFile::Status::Ok);
    file.reset();
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), "");
}

TEST(ReplacementFile, DroppedWithoutCommitLeavesNoTrace) {
    TempDir dir;
    const std::string target = dir.File("out.txt");
    WriteBytes(target, "old");
    std::unique_ptr<ReplacementFile> file;
    ASSERT_EQ(ReplacementFile::Open(target, file), ReplacementFile::Status::Ok);
    ASSERT_TRUE(file->Write("new", 3));
    file.reset();
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.txt"});
}

TEST(ReplacementFile, CannotOpenInAMissingDirectoryOrOverADirectory) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    std::unique_ptr<ReplacementFile> file;
    EXPECT_EQ(ReplacementFile::Open((dir.Path() / "missing" / "out.txt").string(), file),
              ReplacementFile::Status::CannotCreate);
    EXPECT_EQ(ReplacementFile::Open(dir.File("sub"), file), ReplacementFile::Status::CannotCreate);
    EXPECT_EQ(file, nullptr);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"sub"});
}

}  // namespace
}  // namespace iwv::platform
